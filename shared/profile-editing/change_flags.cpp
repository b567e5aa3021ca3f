#include "change_flags.h"

#include "profile_fields.h"
#include "state_change_flags.h"

#include <cstring>

namespace brenik::editing {
namespace {

bool GroupDiffers(const ProfileRecord& before, const ProfileRecord& after, FlagGroup group) {
    for (const ProfileField& field : ProfileFields()) {
        if (field.flag == group && before.*field.integer != after.*field.integer) return true;
    }
    return false;
}

std::string Indexed(const char* name, int p) { return std::string(name) + "[" + std::to_string(p) + "]"; }

}  // namespace

void SetFlagsOfDifferences(const StateRecord& before, StateRecord& after, FlagMode mode) {
    if (mode == FlagMode::kReplace) ClearChangeFlags(after);
    if (before.CurrentProfile != after.CurrentProfile) after.ProfileChanged = 1;
    for (int p = 0; p < kProfileCount; ++p) {
        const ProfileRecord& was = before.Profiles[p];
        const ProfileRecord& now = after.Profiles[p];
        if (std::memcmp(was.standardkey, now.standardkey, sizeof now.standardkey) != 0) after.StandardKeyChanged[p] = 1;
        if (GroupDiffers(was, now, FlagGroup::kLockKeys)) after.LockKeysChanged[p] = 1;
        if (GroupDiffers(was, now, FlagGroup::kLighting)) after.LightingChanged[p] = 1;
        if (was.FnStatus != now.FnStatus) after.FnStatusChanged[p] = 1;
        const bool turnedOn = was.HDDKeyboard == 0 && now.HDDKeyboard != 0;
        for (int k = 0; k < kProgrammableKeys; ++k) {
            if (turnedOn || std::memcmp(&was.MacroKeyInfo[k], &now.MacroKeyInfo[k], sizeof(MacroKeyInfo)) != 0) {
                after.KeyChanged[p][k] = 1;
            }
        }
    }
}

std::vector<std::string> RaisedFlags(const StateRecord& state) {
    std::vector<std::string> flags;
    for (int p = 0; p < kProfileCount; ++p) {
        for (int k = 0; k < kProgrammableKeys; ++k) {
            if (state.KeyChanged[p][k] != 0) flags.push_back(Indexed("KeyChanged", p) + "[" + std::to_string(k) + "]");
        }
    }
    for (int p = 0; p < kProfileCount; ++p) {
        if (state.LightingChanged[p] != 0) flags.push_back(Indexed("LightingChanged", p));
    }
    if (state.ProfileChanged != 0) flags.push_back("ProfileChanged");
    for (int p = 0; p < kProfileCount; ++p) {
        if (state.StandardKeyChanged[p] != 0) flags.push_back(Indexed("StandardKeyChanged", p));
    }
    for (int p = 0; p < kProfileCount; ++p) {
        if (state.LockKeysChanged[p] != 0) flags.push_back(Indexed("LockKeysChanged", p));
    }
    for (int p = 0; p < kProfileCount; ++p) {
        if (state.FnStatusChanged[p] != 0) flags.push_back(Indexed("FnStatusChanged", p));
    }
    return flags;
}

}  // namespace brenik::editing
