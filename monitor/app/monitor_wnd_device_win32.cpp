// The main window's steps of the keyboard protocol: the token check when the keyboard is
// opened, the host state at shutdown, the volume level, and the device jobs of the job thread.

#include "ini_storage.h"
#include "job_flags.h"
#include "monitor_device_win32.h"
#include "monitor_messages.h"
#include "monitor_wnd_win32.h"

namespace brenik {

MonitorDevice::MonitorDevice(const hid::HidLibrary& hid, WorkingCopy& state, const std::string& configPath,
                             IMonitorActions& actions, IDesktop& desktop)
    : transport(hid, device::kLargestReport),
      channel(transport, clock, g_iJobAbort),
      stateAccess(state),
      settings(configPath, ini::SystemIniStorage()),
      commands(channel, stateAccess, settings),
      host(actions, desktop),
      jobs(commands, stateAccess, host, g_iSynced) {}

void CMonitorWnd::CheckSyncToken() { device_->commands.CheckSyncToken(); }

void CMonitorWnd::SetHostStateLeaving() { device_->commands.SetHostState(device::kHostLeaving); }

void CMonitorWnd::WriteVolumeLevel(int level) {
    device_->channel.SleepAbortable(device::kSleepSliceMs);
    const int current = state_.Use([](StateRecord& state) { return state.CurrentProfile; });
    device_->commands.WriteVolume(current, level);
}

void CMonitorWnd::Run(int job, std::intptr_t argument) { device_->jobs.Run(job, argument); }

}  // namespace brenik
