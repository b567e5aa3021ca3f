#include "monitor_device_win32.h"

#include "ini_storage.h"
#include "job_flags.h"

namespace brenik {

CMonitorDevice::CMonitorDevice(const hid::HidLibrary& hid, WorkingCopy& state, const std::string& configPath,
                               IMonitorActions& actions, IDesktop& desktop)
    : state_(state),
      transport_(hid, device::kLargestReport),
      channel_(transport_, clock_, g_iJobAbort),
      stateAccess_(state),
      settings_(configPath, ini::SystemIniStorage()),
      commands_(channel_, stateAccess_, settings_),
      host_(actions, desktop),
      jobs_(commands_, stateAccess_, host_, g_iSynced) {}

void CMonitorDevice::CheckSyncToken() { commands_.CheckSyncToken(); }

void CMonitorDevice::SetHostStateLeaving() { commands_.SetHostState(device::kHostLeaving); }

void CMonitorDevice::WriteVolumeLevel(int level) {
    channel_.SleepAbortable(kSleepSliceMs);
    const int current = state_.Use([](StateRecord& state) { return state.CurrentProfile; });
    commands_.WriteVolume(current, level);
}

void CMonitorDevice::Run(int job, std::intptr_t argument) {
    if (job == kJobWriteVolume) {
        WriteVolumeLevel(static_cast<int>(argument));
        return;
    }
    jobs_.Run(job, argument);
}

}  // namespace brenik
