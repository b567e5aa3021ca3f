#pragma once
// The monitor's side of the keyboard protocol, owned by the main window: the transport over
// the HID library, the real-time clock, the serialised report channel, the commands and the
// device jobs, wired to the working copy and config.ini.

#include "device_commands.h"
#include "device_jobs.h"
#include "device_protocol.h"
#include "hid_feature_reports_win32.h"
#include "ini_device_settings.h"
#include "monitor_device_host.h"
#include "system_device_clock_win32.h"

#include <string>

namespace brenik {

struct MonitorDevice {
    MonitorDevice(const hid::HidLibrary& hid, WorkingCopy& state, const std::string& configPath,
                  IMonitorActions& actions, IDesktop& desktop);

    hid::HidFeatureReports transport;
    device::SystemDeviceClock clock;
    device::ReportChannel channel;
    WorkingCopyAccess stateAccess;
    device::IniDeviceSettings settings;
    device::DeviceCommands commands;
    MonitorDeviceHost host;
    device::DeviceJobs jobs;
};

}  // namespace brenik
