#pragma once
// CMonitorWnd: the monitor's hidden main window, and the router between the window's messages
// and the parts of the monitor. It owns, for the life of the program, the configuration path,
// the working copy of the state record, the shared block and its mutex, the HID library, the
// session notifications, the job thread, and one object for each part: the device side, the
// on-screen display, the companions and the tray icon, the sound cues, game detection and the
// media keys. Its creation and destruction run the monitor's start-up and shutdown in their
// fixed orders (one function each); its message table hands every message to its handler.
//
// Members are declared in the order they are built, so every reference one part takes of
// another (or of the path) is valid when it is taken.

#include "companions.h"
#include "desktop_win32.h"
#include "device_sequences.h"
#include "event_dispatch.h"
#include "foreground_event_hook_win32.h"
#include "foreground_process_win32.h"
#include "game_detection.h"
#include "hid_library.h"
#include "job_thread_win32.h"
#include "media_keys.h"
#include "media_platform_win32.h"
#include "monitor_device_win32.h"
#include "on_screen_display.h"
#include "profile_store.h"
#include "session_notifications_win32.h"
#include "shared_state_block_win32.h"
#include "sound_cues.h"
#include "sound_player_win32.h"
#include "tray_icon_win32.h"
#include "working_copy.h"

#include <windows.h>

#include <cstdint>
#include <mutex>
#include <string>

namespace brenik {

class CMonitorWnd final : private IMonitorActions, private IDeviceHost {
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
    void OnForegroundChanged();
    LRESULT OnCopyData(const COPYDATASTRUCT* data);

    // The shared block.
    bool PublishState();
    bool RereadState();

    // IMonitorActions: what the event dispatch asks of the monitor.
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

    // IDeviceHost: the steps of arrival, removal and session changes.
    void WaitMs(unsigned milliseconds) override { Sleep(milliseconds); }
    void OpenDevMonitor() override;
    void CloseDevMonitor() override { hid_.CloseDevMonitor(); }
    bool OpenFeatureDevice() override { return hid_.OpenFeatureDevice(); }
    void CloseFeatureDevice() override { hid_.CloseFeatureDevice(); }
    void CheckSyncToken() override { device_.CheckSyncToken(); }
    void AddTrayIcon() override { tray_.Add(); }
    void RemoveTrayIcon() override { tray_.Remove(); }
    void WriteDeviceKey(int present) override;
    void StartGameTimer() override;
    void StopGameTimer() override;
    void StartCompanions() override { companions_.Start(); }

    const bool openSettingsAfterStart_;
    HWND hwnd_ = nullptr;
    const std::string folder_;
    const std::string configPath_;
    WorkingCopy state_;
    Win32Desktop desktop_;
    ProfileStore profiles_;
    SharedStateBlock sharedBlock_;
    hid::HidLibrary hid_;
    SessionNotifications sessions_;
    OnScreenDisplay osd_;
    Companions companions_;
    CTrayIcon tray_;
    Win32SoundPlayer soundPlayer_;
    SoundCues sounds_;
    Win32ForegroundProcess foregroundProcess_;
    GameDetection games_;
    ForegroundEventHook foregroundHook_;
    bool gameTimerRunning_ = false;  // the foreground notice looks only while the timer does
    Win32MediaPlatform mediaPlatform_;
    MediaKeys media_;
    CMonitorDevice device_;  // used from both threads
    JobThread jobThread_;
    EventDispatch dispatch_;
    DeviceSequences sequences_;
    bool comInitialised_ = false;
    std::mutex saveOrder_;
};

}  // namespace brenik
