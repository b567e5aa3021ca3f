#include "state_change_flags.h"

#include <cstring>

namespace brenik {

void ClearChangeFlags(StateRecord& state) {
    std::memset(state.KeyChanged, 0, sizeof state.KeyChanged);
    std::memset(state.LightingChanged, 0, sizeof state.LightingChanged);
    state.ProfileChanged = 0;
    std::memset(state.StandardKeyChanged, 0, sizeof state.StandardKeyChanged);
    std::memset(state.LockKeysChanged, 0, sizeof state.LockKeysChanged);
    std::memset(state.FnStatusChanged, 0, sizeof state.FnStatusChanged);
}

}  // namespace brenik
