#include "profile_switch.h"

#include "job_codes.h"

namespace brenik::monitor {

void ProfileSwitch::Switch(int index) {
    if (!IsProfileIndex(index)) return;
    state_.Use([&](StateRecord& state) {
        state.CurrentProfile = index;
        state.Profiles[index].ExtendedMode = 0;
    });
    store_.Publish();
    jobs_.Post(device::kJobWriteCurrentProfile, 0);
    store_.SaveProfiles();
    settings_.ProfileSwitched();
    osd_.NotifyProfileSwitch(index);
}

}  // namespace brenik::monitor
