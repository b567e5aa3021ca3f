#pragma once
// CMonitorDevice: the monitor's side of the keyboard protocol, owned by the main window. It
// wires the transport over the HID library, the real-time clock, the serialised report
// channel, the commands and the device jobs to the working copy, the state store and
// config.ini, and offers the device sequences the keyboard's opening and closing, the token
// check and the "Device" entry; the window the host state at shutdown; the job thread the
// jobs it runs, the volume level (message 1332) among them.

#include "device_commands.h"
#include "device_jobs.h"
#include "device_protocol.h"
#include "device_side.h"
#include "hid_feature_reports_win32.h"
#include "hid_library.h"
#include "ini_device_settings.h"
#include "job_flags.h"
#include "job_runner.h"
#include "monitor_device_host.h"
#include "state_store.h"
#include "system_device_clock_win32.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace brenik::monitor {

class CMonitorDevice final : public IDeviceJobs, public IDeviceSide {
public:
    CMonitorDevice(const hid::HidLibrary& hid, WorkingCopy& state, const std::string& configPath, IStateStore& store,
                   IDesktop& desktop, osd::OnScreenDisplay& display, JobFlags& flags);
    CMonitorDevice(const CMonitorDevice&) = delete;
    CMonitorDevice& operator=(const CMonitorDevice&) = delete;

    // The main window, once it exists: kbhid posts the keyboard's messages to it.
    void Attach(HWND window) { window_ = window; }

    // IDeviceSide, on the main thread.
    void OpenDevMonitor() override;
    void CloseDevMonitor() override { hid_.CloseDevMonitor(); }
    bool OpenFeatureDevice() override { return hid_.OpenFeatureDevice(); }
    void CloseFeatureDevice() override { hid_.CloseFeatureDevice(); }
    void CheckSyncToken() override { commands_.CheckSyncToken(); }
    void WriteDeviceKey(int present) override { settings_.StoreDevicePresence(present); }

    // Tells the keyboard that the host is leaving (shutdown).
    void SetHostStateLeaving();
    // IDeviceJobs: called on the job thread; kJobWriteVolume is one slice of abortable pause,
    // then the volume level for the current profile.
    void Run(int job, std::intptr_t argument) override;

private:
    void WriteVolumeLevel(int level);

    const hid::HidLibrary& hid_;
    WorkingCopy& state_;
    HWND window_ = nullptr;
    hid::HidFeatureReports transport_;
    device::SystemDeviceClock clock_;
    device::ReportChannel channel_;
    WorkingCopyAccess stateAccess_;
    IniDeviceSettings settings_;
    device::DeviceCommands commands_;
    MonitorDeviceHost host_;
    device::DeviceJobs jobs_;
};

}  // namespace brenik::monitor
