#include "copy_restore.h"

#include "copied_profiles.h"

#include <memory>

namespace brenik::option {

bool RestoreCopy(SettingsModel& model, const history::HistoryCopy& copy, std::string& error) {
    // Over what is shown: a profile the copy has no file for is replaced by itself, no edit.
    auto restored = std::make_unique<StateRecord>(model.Shown());
    if (!history::ReadCopiedProfiles(copy, *restored, error)) return false;
    SettingsModel::OneStep step(model);
    for (int p = 0; p < kProfileCount; ++p) model.ReplaceProfile(p, restored->Profiles[p]);
    if (IsProfileIndex(restored->CurrentProfile)) model.SetCurrentProfile(restored->CurrentProfile);
    return true;
}

}  // namespace brenik::option
