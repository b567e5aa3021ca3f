#include "monitor_device_win32.h"

#include "ini_storage.h"
#include "job_codes.h"
#include "monitor_inbox.h"

namespace brenik::monitor {

CMonitorDevice::CMonitorDevice(const hid::HidLibrary& hid, WorkingCopy& state, const std::string& configPath,
                               IStateStore& store, IDesktop& desktop, osd::OnScreenDisplay& display, JobFlags& flags)
    : hid_(hid),
      state_(state),
      transport_(hid, device::kLargestReport),
      channel_(transport_, clock_, flags.g_iJobAbort),
      stateAccess_(state),
      settings_(configPath, ini::SystemIniStorage()),
      commands_(channel_, stateAccess_, settings_),
      host_(store, desktop, display),
      jobs_(commands_, stateAccess_, host_, flags.g_iSynced) {}

void CMonitorDevice::OpenDevMonitor() { hid_.OpenDevMonitor(window_, kMsgKeyEvent, kMsgDeviceChange); }

void CMonitorDevice::SetHostStateLeaving() { commands_.SetHostState(device::kHostLeaving); }

void CMonitorDevice::WriteVolumeLevel(int level) {
    channel_.SleepAbortable(kSleepSliceMs);
    const int current = state_.Use([](StateRecord& state) { return state.CurrentProfile; });
    commands_.WriteVolume(current, level);
}

void CMonitorDevice::Run(int job, std::intptr_t argument) {
    if (job == device::kJobWriteVolume) {
        WriteVolumeLevel(static_cast<int>(argument));
        return;
    }
    jobs_.Run(job, argument);
}

}  // namespace brenik::monitor
