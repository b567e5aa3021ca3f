#pragma once
// CMonitorWnd: the monitor's hidden main window. It owns, for the life of the program, the
// configuration path, the working copy of the state record, the shared block and its mutex,
// the HID library, the session notifications and the job thread; its creation and destruction
// run the monitor's start-up and shutdown in their fixed orders, and its message table turns
// every message into its handler.

#include "desktop_win32.h"
#include "device_sequences.h"
#include "event_dispatch.h"
#include "hid_library.h"
#include "job_runner.h"
#include "job_thread_win32.h"
#include "profile_store.h"
#include "session_notifications_win32.h"
#include "shared_state_block_win32.h"
#include "working_copy.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

namespace brenik {

struct MonitorDevice;  // monitor_device_win32.h

class CMonitorWnd final : private IMonitorActions, private IDeviceHost, private IDeviceJobs {
public:
    explicit CMonitorWnd(bool openSettingsAfterStart);
    ~CMonitorWnd() override;
    CMonitorWnd(const CMonitorWnd&) = delete;
    CMonitorWnd& operator=(const CMonitorWnd&) = delete;

    // Registers the window class and creates the window; creation runs the start-up. Returns
    // false when the window could not be created (start-up failed).
    bool Create(HINSTANCE instance);
    HWND Handle() const { return hwnd_; }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // Start-up and shutdown.
    bool OnCreate();
    void OnDestroy();

    // Message handlers.
    void OnTimer(UINT_PTR timer);
    void OnCommand(UINT command);
    void OnSettingsChanged(WPARAM jobArgument);
    void OnReread();
    void OnVolumeLevel(WPARAM level);

    // The shared block.
    bool PublishState();
    bool RereadState();

    // IMonitorActions
    void SwitchProfile(int index) override;
    void PlaySoundCue(EventWord word) override;
    void NotifyOsd(std::uint16_t eventClass, std::uint16_t subCode) override;
    void MediaKey(std::uint8_t code, std::uint8_t flag) override;
    bool OsdShowsWindowsKey() override;
    void QueueJob(int job, std::intptr_t argument) override;
    void Publish() override { PublishState(); }
    void SaveProfiles() override;
    void DeviceArrived() override { sequences_.Arrival(); }
    void DeviceRemoved() override { sequences_.Removal(); }

    // IDeviceHost
    void WaitMs(unsigned milliseconds) override { Sleep(milliseconds); }
    void OpenDevMonitor() override;
    void CloseDevMonitor() override { hid_.CloseDevMonitor(); }
    bool OpenFeatureDevice() override { return hid_.OpenFeatureDevice(); }
    void CloseFeatureDevice() override { hid_.CloseFeatureDevice(); }
    void CheckSyncToken() override;
    void AddTrayIcon() override;
    void RemoveTrayIcon() override;
    void WriteDeviceKey(int present) override;
    void StartGameTimer() override;
    void StopGameTimer() override;
    void StartCompanions() override;

    // IDeviceJobs
    void Run(int job, std::intptr_t argument) override;

    // The keyboard protocol (monitor_wnd_device_win32.cpp).
    void SetHostStateLeaving();
    void WriteVolumeLevel(int level);

    // Steps that other parts of the monitor provide (monitor_wnd_pending_win32.cpp).
    void LoadOsdSettings();
    void UpdateApplets();
    void OnCustomizer();
    void OnSystrayNotify(LPARAM mouseMessage);
    LRESULT OnCopyData(const COPYDATASTRUCT* data);
    void DetectGame();
    void NotifyOsdOfProfileSwitch(int index);

    const bool openSettingsAfterStart_;
    HWND hwnd_ = nullptr;
    std::string configPath_;
    WorkingCopy state_;
    Win32Desktop desktop_;
    std::unique_ptr<ProfileStore> profiles_;
    SharedStateBlock sharedBlock_;
    hid::HidLibrary hid_;
    SessionNotifications sessions_;
    std::unique_ptr<MonitorDevice> device_;  // made with the window, used from both threads
    JobThread jobThread_;
    EventDispatch dispatch_{desktop_, state_, *this};
    DeviceSequences sequences_{*this, desktop_};
    bool comInitialised_ = false;
    std::mutex saveOrder_;
};

}  // namespace brenik
