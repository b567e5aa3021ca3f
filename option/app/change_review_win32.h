#pragma once
// The words of "Review changes" and of the warning before an Apply, from the model: what the
// apply sends (apply_review.h), what it keeps without a report, and the key conflicts the
// user's edits bring (key_conflicts.h), with the files a program key names looked up now.

#include "display_settings_model.h"
#include "settings_model.h"

#include <string>
#include <vector>

namespace brenik::option {

std::vector<std::wstring> NewConflictLines(const SettingsModel& model);
// The warnings, then the reports in the order they are sent, then what stays in the computer.
std::vector<std::wstring> ReviewLines(const SettingsModel& model, const DisplaySettingsModel& display);

}  // namespace brenik::option
