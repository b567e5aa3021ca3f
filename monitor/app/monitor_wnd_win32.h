#pragma once
// CMonitorWnd: the monitor's hidden main window, and the router between the window's messages
// and the parts of the monitor. It owns, for the life of the program, the configuration path,
// the working copy of the state record and the job flags, and one object for each part: the
// state store (profile files, shared block), the HID library, the session notifications, the
// on-screen display, the companions and the tray icon, the sound cues, the job thread, the
// profile switch, game detection, the media keys, the device side, the device sequences and
// the event dispatch. Its creation and destruction run the monitor's start-up and shutdown in
// their fixed orders (one function each); its message table hands every message to the part
// that handles it. It implements no part's interface itself.
//
// Members are declared in the order they are built, so every reference one part takes of
// another (or of the path) is valid when it is taken.

#include "companions.h"
#include "desktop_win32.h"
#include "device_sequences.h"
#include "event_dispatch.h"
#include "first_sync_timer_win32.h"
#include "game_watch_win32.h"
#include "hid_library.h"
#include "job_flags.h"
#include "job_thread_win32.h"
#include "media_keys.h"
#include "media_platform_win32.h"
#include "monitor_actions.h"
#include "monitor_device_win32.h"
#include "on_screen_display.h"
#include "profile_switch.h"
#include "session_notifications_win32.h"
#include "sound_cues.h"
#include "sound_player_win32.h"
#include "state_store_win32.h"
#include "system_sleep_clock_win32.h"
#include "tray_icon_win32.h"
#include "working_copy.h"

#include <windows.h>

#include <string>

namespace brenik::monitor {

class CMonitorWnd final {
public:
    explicit CMonitorWnd(bool openSettingsAfterStart);
    ~CMonitorWnd();
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
    void OnVolumeLevel(WPARAM level);
    LRESULT OnCopyData(const COPYDATASTRUCT* data);

    HWND hwnd_ = nullptr;
    const std::string folder_;
    const std::string configPath_;
    WorkingCopy state_;
    JobFlags flags_;
    Win32Desktop desktop_;
    StateStore store_;
    hid::HidLibrary hid_;
    SessionNotifications sessions_;
    osd::OnScreenDisplay osd_;
    tray::Companions companions_;
    tray::CTrayIcon tray_;
    sound::Win32SoundPlayer soundPlayer_;
    sound::SoundCues sounds_;
    CMonitorDevice device_;  // used from both threads; the job thread, built after it, ends first
    JobThread jobThread_;
    FirstSyncTimer firstSync_;
    ProfileSwitch profileSwitch_;
    games::GameWatch games_;
    media::Win32MediaPlatform mediaPlatform_;
    media::MediaKeys media_;
    SystemSleepClock clock_;
    DeviceSequences sequences_;
    MonitorActions actions_;
    EventDispatch dispatch_;
    bool comInitialised_ = false;
};

}  // namespace brenik::monitor
