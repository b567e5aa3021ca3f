#pragma once
// A copy of the profiles' history brought back into the window: the profiles it has files for
// and its current profile become the user's edits, as one step that one Undo takes back. Apply
// then sends them as any edit, with exactly the change flags of what differs; the live layer of
// each profile stays the keyboard's.

#include "history_copy.h"
#include "settings_model.h"

#include <string>

namespace brenik::option {

// False, with error, when the copy cannot be read (a damaged profile file): nothing changes.
bool RestoreCopy(SettingsModel& model, const history::HistoryCopy& copy, std::string& error);

}  // namespace brenik::option
