#include "record_editor.h"

#include <cstring>

namespace brenik::editing {

RecordEditor::RecordEditor()
    : before_(std::make_unique<StateRecord>()),
      ours_(std::make_unique<StateRecord>()),
      written_(std::make_unique<StateRecord>()) {}

bool RecordEditor::Apply(const ProfileEdit& edit, StateRecord& state, FlagMode mode) {
    *before_ = state;
    edit.apply(state);
    if (std::memcmp(before_->Profiles, state.Profiles, sizeof state.Profiles) == 0 &&
        before_->CurrentProfile == state.CurrentProfile && !edit.forceProfileFlag) {
        return false;
    }
    // Our flags alone, for the report; the block gets them replaced or added.
    *ours_ = state;
    SetFlagsOfDifferences(*before_, *ours_);
    if (edit.forceProfileFlag) ours_->ProfileChanged = 1;
    flags_ = RaisedFlags(*ours_);
    SetFlagsOfDifferences(*before_, state, mode);
    if (edit.forceProfileFlag) state.ProfileChanged = 1;
    *written_ = state;
    return true;
}

bool RecordEditor::StillHolds(const ProfileEdit& edit, const StateRecord& now) const {
    if (edit.setsCurrent) return now.CurrentProfile == written_->CurrentProfile;
    auto holds = [&](int p) {
        auto expected = std::make_unique<ProfileRecord>(written_->Profiles[p]);
        expected->ExtendedMode = now.Profiles[p].ExtendedMode;
        return std::memcmp(expected.get(), &now.Profiles[p], sizeof(ProfileRecord)) == 0;
    };
    if (!edit.wholeRecord) return holds(edit.profile);
    for (int p = 0; p < kProfileCount; ++p) {
        if (!holds(p)) return false;
    }
    return now.CurrentProfile == written_->CurrentProfile;
}

}  // namespace brenik::editing
