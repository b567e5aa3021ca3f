#pragma once
// CMonitorDevice: the monitor's side of the keyboard protocol, owned by the main window. It
// wires the transport over the HID library, the real-time clock, the serialised report
// channel, the commands and the device jobs to the working copy and config.ini, and offers
// the window its protocol steps: the token check when the keyboard is opened and the host
// state at shutdown; the jobs the job thread runs, the volume level (message 1332) among them.

#include "device_commands.h"
#include "device_jobs.h"
#include "device_protocol.h"
#include "hid_feature_reports_win32.h"
#include "ini_device_settings.h"
#include "job_runner.h"
#include "monitor_device_host.h"
#include "system_device_clock_win32.h"

#include <cstdint>
#include <string>

namespace brenik {

class CMonitorDevice final : public IDeviceJobs {
public:
    CMonitorDevice(const hid::HidLibrary& hid, WorkingCopy& state, const std::string& configPath,
                   IMonitorActions& actions, IDesktop& desktop);
    CMonitorDevice(const CMonitorDevice&) = delete;
    CMonitorDevice& operator=(const CMonitorDevice&) = delete;

    void CheckSyncToken();
    // Tells the keyboard that the host is leaving (shutdown).
    void SetHostStateLeaving();
    // IDeviceJobs: called on the job thread; kJobWriteVolume is one slice of abortable pause,
    // then the volume level for the current profile.
    void Run(int job, std::intptr_t argument) override;

private:
    void WriteVolumeLevel(int level);

    WorkingCopy& state_;
    hid::HidFeatureReports transport_;
    device::SystemDeviceClock clock_;
    device::ReportChannel channel_;
    WorkingCopyAccess stateAccess_;
    IniDeviceSettings settings_;
    device::DeviceCommands commands_;
    MonitorDeviceHost host_;
    device::DeviceJobs jobs_;
};

}  // namespace brenik
