#include "monitor_wnd_win32.h"

#include "ini_file.h"
#include "job_flags.h"
#include "keyboard_repeat.h"
#include "monitor_device_win32.h"
#include "monitor_messages.h"
#include "program_folder.h"
#include "state_change_flags.h"

#include <commctrl.h>
#include <objbase.h>

namespace brenik {
namespace {

constexpr const char* kWindowClass = "BrenikGamingKeyboardMonitorWindow";
constexpr int kWindowX = 100;
constexpr int kWindowY = 100;
constexpr int kWindowSize = 100;

}  // namespace

CMonitorWnd::CMonitorWnd(bool openSettingsAfterStart)
    : openSettingsAfterStart_(openSettingsAfterStart),
      device_(std::make_unique<MonitorDevice>(hid_, state_, configPath_, static_cast<IMonitorActions&>(*this), desktop_)) {}

CMonitorWnd::~CMonitorWnd() {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

bool CMonitorWnd::Create(HINSTANCE instance) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &CMonitorWnd::WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kWindowClass;
    RegisterClassA(&windowClass);  // fails harmlessly if it is registered already
    // Never shown; the extended style becomes the tool-window style during creation.
    return CreateWindowExA(0, kWindowClass, kTitleMonitor, WS_POPUP, kWindowX, kWindowY, kWindowSize, kWindowSize,
                           nullptr, nullptr, instance, this) != nullptr;
}

LRESULT CALLBACK CMonitorWnd::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<CMonitorWnd*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<CMonitorWnd*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcA(hwnd, message, wParam, lParam);
    const LRESULT result = self->OnMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}

LRESULT CMonitorWnd::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: return OnCreate() ? 0 : -1;
        case WM_DESTROY: OnDestroy(); return 0;
        case WM_TIMER: OnTimer(wParam); return 0;
        case WM_COPYDATA: return OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        case WM_DEVICECHANGE: return TRUE;
        case WM_WTSSESSION_CHANGE: sequences_.SessionChange(static_cast<unsigned>(wParam)); return 0;
        case WM_COMMAND: OnCommand(LOWORD(wParam)); return 0;
        case kMsgTrayCallback: OnSystrayNotify(lParam); return 0;
        case kMsgSettingsChanged: OnSettingsChanged(wParam); return 0;
        case kMsgRereadShared1:
        case kMsgRereadShared2: OnReread(); return 0;
        case kMsgNoAction1:
        case kMsgNoAction2:
        case kMsgNoAction3: return 0;
        case kMsgNoActionTrue: return 1;
        case kMsgVolumeLevel: OnVolumeLevel(wParam); return 0;
        case kMsgKeyEvent: dispatch_.Dispatch(MakeKeyEventWord(wParam, lParam)); return 1;
        case kMsgDeviceChange: dispatch_.Dispatch(MakeDeviceEventWord(wParam)); return 1;
        default: return DefWindowProcA(hwnd_, message, wParam, lParam);
    }
}

bool CMonitorWnd::OnCreate() {
    comInitialised_ = SUCCEEDED(CoInitialize(nullptr));
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    const std::string folder = ProgramFolder();
    configPath_ = folder + "config.ini";
    sessions_.Register(hwnd_);
    hid_.Load(hid::kAllEntryPoints);  // a missing library reads as no keyboard

    profiles_ = std::make_unique<ProfileStore>(folder, ini::SystemIniStorage(), SystemKeyboardRepeat());
    state_.Use([&](StateRecord& state) {
        ClearState(state);
        profiles_->LoadProfiles(state);
    });
    LoadOsdSettings();

    // A second monitor in another session, or a leftover, owns the lock: this one must not run.
    if (!sharedBlock_.CreateLock()) return false;
    state_.Use([](StateRecord& state) { ClearChangeFlags(state); });
    if (sharedBlock_.Create()) PublishState();

    jobThread_.Start(*this, desktop_);
    SetWindowLongPtrA(hwnd_, GWL_EXSTYLE, WS_EX_TOOLWINDOW);

    OpenDevMonitor();
    const bool opened = hid_.OpenFeatureDevice();
    if (opened) {
        StartGameTimer();
        CheckSyncToken();
        SetTimer(hwnd_, kTimerFirstSync, kTimerFirstSyncMs, nullptr);
        AddTrayIcon();
        if (openSettingsAfterStart_) OnCustomizer();
        StartCompanions();
    }
    g_iDeviceState.store(opened ? kDeviceAttached : kDeviceNotOpened);
    WriteDeviceKey(opened ? 1 : 0);
    return true;
}

void CMonitorWnd::OnDestroy() {
    SetHostStateLeaving();
    KillTimer(hwnd_, kTimerDetectGame);
    KillTimer(hwnd_, kTimerFirstSync);
    CloseCompanions(desktop_);
    jobThread_.RefuseJobs();  // queued jobs must not start after the abort and clear it
    RequestJobAbort();
    jobThread_.Stop();
    if (hid_.Loaded()) {
        hid_.CloseDevMonitor();
        hid_.CloseFeatureDevice();
    }
    hid_.Unload();
    sessions_.Unregister();
    if (comInitialised_) CoUninitialize();
    comInitialised_ = false;
    sharedBlock_.Close();
    RemoveTrayIcon();
    PostQuitMessage(0);
}

void CMonitorWnd::OnTimer(UINT_PTR timer) {
    if (timer == kTimerDetectGame) DetectGame();
    if (timer == kTimerFirstSync) {
        KillTimer(hwnd_, kTimerFirstSync);  // once only
        QueueJob(kJobSynchronise, 0);
    }
}

void CMonitorWnd::OnCommand(UINT command) {
    if (command == kCmdConfiguration) OnCustomizer();
    if (command == kCmdExit) PostMessageA(hwnd_, WM_CLOSE, 0, 0);
}

void CMonitorWnd::OnSettingsChanged(WPARAM jobArgument) {
    RereadState();
    LoadOsdSettings();
    bool queued = false;
    if (g_iDeviceState.load() == kDeviceAttached) {
        UpdateApplets();
        queued = jobThread_.Post(kJobApplyChanges, static_cast<std::intptr_t>(jobArgument));
    }
    // The settings program waits for this to enable its buttons again.
    if (!queued) SendEnableNotification(desktop_, false);
}

void CMonitorWnd::OnReread() { RereadState(); }

void CMonitorWnd::OnVolumeLevel(WPARAM level) {
    RereadState();
    state_.Use([&](StateRecord& state) { state.VolumeLevel = static_cast<std::int32_t>(level); });
    if (g_iSynced.load() == 1) WriteVolumeLevel(static_cast<int>(level));
}

bool CMonitorWnd::PublishState() {
    return state_.Use([&](StateRecord& state) { return sharedBlock_.Publish(state); });
}

bool CMonitorWnd::RereadState() {
    return state_.Use([&](StateRecord& state) { return sharedBlock_.Reread(state); });
}

void CMonitorWnd::SwitchProfile(int index) {
    if (!IsProfileIndex(index)) return;
    state_.Use([&](StateRecord& state) {
        state.CurrentProfile = index;
        state.Profiles[index].ExtendedMode = 0;
    });
    PublishState();
    QueueJob(kJobWriteCurrentProfile, 0);
    SaveProfiles();
    PostToTitle(desktop_, kTitleSettings, kMsgProfileSwitched);
    NotifyOsdOfProfileSwitch(index);
}

void CMonitorWnd::QueueJob(int job, std::intptr_t argument) { jobThread_.Post(job, argument); }

void CMonitorWnd::SaveProfiles() {
    // Both threads save. The copy is taken inside the same lock that orders the writes, so an
    // older copy can never be written after a newer one. Files are written from the copy, so
    // the working copy's lock is not held while the disk works.
    std::lock_guard<std::mutex> inOrder(saveOrder_);
    const std::unique_ptr<StateRecord> snapshot = state_.Snapshot();
    profiles_->SaveProfiles(*snapshot);
}

void CMonitorWnd::OpenDevMonitor() { hid_.OpenDevMonitor(hwnd_, kMsgKeyEvent, kMsgDeviceChange); }

void CMonitorWnd::WriteDeviceKey(int present) { CIniFile(configPath_).WriteInt("Setting", "Device", present); }

void CMonitorWnd::StartGameTimer() { SetTimer(hwnd_, kTimerDetectGame, kTimerDetectGameMs, nullptr); }

void CMonitorWnd::StopGameTimer() { KillTimer(hwnd_, kTimerDetectGame); }

}  // namespace brenik
