#include "monitor_wnd_win32.h"

#include "config_ini_keys.h"
#include "ini_file.h"
#include "ini_storage.h"
#include "job_flags.h"
#include "keyboard_repeat.h"
#include "monitor_messages.h"
#include "program_folder.h"
#include "state_change_flags.h"
#include "window_procedure.h"

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
      folder_(ProgramFolder()),
      configPath_(ConfigIniPathIn(folder_)),
      profiles_(folder_, ini::SystemIniStorage(), SystemKeyboardRepeat()),
      osd_(desktop_, state_, configPath_, ini::SystemIniStorage()),
      companions_(desktop_, folder_, osd_),
      tray_(hwnd_, desktop_, companions_),
      sounds_(state_, folder_, soundPlayer_),
      games_(state_, foregroundProcess_, [this](int index) { SwitchProfile(index); }),
      media_(state_, mediaPlatform_.Platform()),
      device_(hid_, state_, configPath_, *this, desktop_),
      dispatch_(desktop_, state_, *this),
      sequences_(*this, desktop_) {}

CMonitorWnd::~CMonitorWnd() {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

bool CMonitorWnd::Create(HINSTANCE instance) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &win32::WindowProcedure<CMonitorWnd, &CMonitorWnd::hwnd_, &CMonitorWnd::OnMessage>;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kWindowClass;
    RegisterClassA(&windowClass);  // fails harmlessly if it is registered already
    // Never shown; the extended style becomes the tool-window style during creation.
    return CreateWindowExA(0, kWindowClass, kTitleMonitor, WS_POPUP, kWindowX, kWindowY, kWindowSize, kWindowSize,
                           nullptr, nullptr, instance, this) != nullptr;
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
        case kMsgTrayCallback: tray_.OnSystrayNotify(lParam); return 0;
        case kMsgSettingsChanged: OnSettingsChanged(wParam); return 0;
        case kMsgRereadShared1:
        case kMsgRereadShared2: OnReread(); return 0;
        case kMsgNoAction1:
        case kMsgNoAction2:
        case kMsgNoAction3: return 0;
        case kMsgNoActionTrue: return 1;
        case kMsgVolumeLevel: OnVolumeLevel(wParam); return 0;
        case kMsgForegroundChanged: OnForegroundChanged(); return 0;
        case kMsgKeyEvent: dispatch_.Dispatch(MakeKeyEventWord(wParam, lParam)); return 1;
        case kMsgDeviceChange: dispatch_.Dispatch(MakeDeviceEventWord(wParam)); return 1;
        default:
            // The shell's restart message is registered at run time, so it cannot be a case.
            if (message != 0 && message == tray_.TaskbarCreatedMessage()) {
                tray_.OnTaskbarCreated();
                return 0;
            }
            return DefWindowProcA(hwnd_, message, wParam, lParam);
    }
}

bool CMonitorWnd::OnCreate() {
    comInitialised_ = SUCCEEDED(CoInitialize(nullptr));
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    // The program folder and the configuration path were taken when the window object was made.
    sessions_.Register(hwnd_);
    hid_.Load(hid::kAllEntryPoints);  // a missing library reads as no keyboard

    state_.Use([&](StateRecord& state) {
        ClearState(state);
        profiles_.LoadProfiles(state);
    });
    osd_.LoadSettings();

    // A second monitor in another session, or a leftover, owns the lock: this one must not run.
    if (!sharedBlock_.CreateLock()) return false;
    state_.Use([](StateRecord& state) { ClearChangeFlags(state); });
    if (sharedBlock_.Create()) PublishState();

    jobThread_.Start(device_, desktop_);
    SetWindowLongPtrA(hwnd_, GWL_EXSTYLE, WS_EX_TOOLWINDOW);
    foregroundHook_.Install();  // a game is seen as it comes to the front; the game timer stays

    OpenDevMonitor();
    const bool opened = hid_.OpenFeatureDevice();
    if (opened) {
        StartGameTimer();
        CheckSyncToken();
        SetTimer(hwnd_, kTimerFirstSync, kTimerFirstSyncMs, nullptr);
        tray_.Add();
        if (openSettingsAfterStart_) tray_.OnCustomizer();
        companions_.Start();
    }
    g_iDeviceState.store(opened ? kDeviceAttached : kDeviceNotOpened);
    WriteDeviceKey(opened ? 1 : 0);
    return true;
}

void CMonitorWnd::OnDestroy() {
    // The job thread ends first: a job waiting on a busy keyboard would otherwise hold the host
    // state, and the window with it, for its whole handshake. Then the keyboard is told that
    // the host leaves, without waiting for its answer (no job is left to clear the abort).
    jobThread_.RefuseJobs();  // queued jobs must not start after the abort and clear it
    RequestJobAbort();
    jobThread_.Stop();
    g_iJobAbort.store(1);
    device_.SetHostStateLeaving();
    StopGameTimer();
    foregroundHook_.Remove();
    KillTimer(hwnd_, kTimerFirstSync);
    companions_.Close();
    if (hid_.Loaded()) {
        hid_.CloseDevMonitor();
        hid_.CloseFeatureDevice();
    }
    hid_.Unload();
    sessions_.Unregister();
    if (comInitialised_) CoUninitialize();
    comInitialised_ = false;
    sharedBlock_.Close();
    tray_.Remove();
    PostQuitMessage(0);
}

void CMonitorWnd::OnTimer(UINT_PTR timer) {
    if (timer == kTimerDetectGame) games_.DetectGame();
    if (timer == kTimerFirstSync) {
        KillTimer(hwnd_, kTimerFirstSync);  // once only
        QueueJob(kJobSynchronise, 0);
    }
}

void CMonitorWnd::OnCommand(UINT command) {
    if (command == kCmdConfiguration) tray_.OnCustomizer();
    if (command == kCmdExit) PostMessageA(hwnd_, WM_CLOSE, 0, 0);
}

void CMonitorWnd::OnSettingsChanged(WPARAM jobArgument) {
    RereadState();
    osd_.LoadSettings();
    osd_.PostSettings();
    bool queued = false;
    if (g_iDeviceState.load() == kDeviceAttached) {
        companions_.UpdateApplets();
        queued = jobThread_.Post(kJobApplyChanges, static_cast<std::intptr_t>(jobArgument));
    }
    // The settings program waits for this to enable its buttons again.
    if (!queued) SendEnableNotification(desktop_, false);
}

void CMonitorWnd::OnReread() { RereadState(); }

// Looks only while the game timer runs (the keyboard is open): the notice makes a look sooner, nothing more.
void CMonitorWnd::OnForegroundChanged() {
    if (gameTimerRunning_) games_.DetectGame();
}

void CMonitorWnd::OnVolumeLevel(WPARAM level) {
    RereadState();
    state_.Use([&](StateRecord& state) { state.VolumeLevel = static_cast<std::int32_t>(level); });
    // On the job thread: a busy keyboard must not hold the window for the handshake.
    if (g_iSynced.load() == 1) QueueJob(kJobWriteVolume, static_cast<std::intptr_t>(level));
}

LRESULT CMonitorWnd::OnCopyData(const COPYDATASTRUCT* data) {
    if (data == nullptr) return TRUE;  // answered 1 like every other block: a sender learns nothing from it
    return osd_.OnCopyData(data->lpData, data->cbData, g_iDeviceState.load() == kDeviceAttached) ? TRUE : FALSE;
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
    osd_.NotifyProfileSwitch(index);
}

void CMonitorWnd::PlaySoundCue(EventWord word) { sounds_.Play(ClassOf(word), SubCodeOf(word)); }

void CMonitorWnd::NotifyOsd(std::uint16_t eventClass, std::uint16_t subCode) { osd_.Notify(eventClass, subCode); }

void CMonitorWnd::MediaKey(std::uint8_t code, std::uint8_t flag) { media_.OnKey(code, flag); }

bool CMonitorWnd::OsdShowsWindowsKey() { return osd_.ShowsWindowsKey(); }

void CMonitorWnd::QueueJob(int job, std::intptr_t argument) { jobThread_.Post(job, argument); }

void CMonitorWnd::SaveProfiles() {
    // Both threads save. The copy is taken inside the same lock that orders the writes, so an
    // older copy can never be written after a newer one. Files are written from the copy, so
    // the working copy's lock is not held while the disk works.
    std::lock_guard<std::mutex> inOrder(saveOrder_);
    const std::unique_ptr<StateRecord> snapshot = state_.Snapshot();
    profiles_.SaveProfiles(*snapshot);
}

void CMonitorWnd::OpenDevMonitor() { hid_.OpenDevMonitor(hwnd_, kMsgKeyEvent, kMsgDeviceChange); }

void CMonitorWnd::WriteDeviceKey(int present) { CIniFile(configPath_).WriteInt(kConfigSettingSection, kConfigDeviceKey, present); }

void CMonitorWnd::StartGameTimer() {
    gameTimerRunning_ = SetTimer(hwnd_, kTimerDetectGame, kTimerDetectGameMs, nullptr) != 0;
}

void CMonitorWnd::StopGameTimer() {
    KillTimer(hwnd_, kTimerDetectGame);
    gameTimerRunning_ = false;
}

}  // namespace brenik
