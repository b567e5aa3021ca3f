#include "monitor_wnd_win32.h"

#include "ini_storage.h"
#include "job_codes.h"
#include "monitor_inbox.h"
#include "monitor_messages.h"
#include "program_folder.h"
#include "program_windows.h"
#include "settings_program_notifier.h"
#include "state_change_flags.h"
#include "tray_messages.h"
#include "window_procedure.h"

#include <commctrl.h>
#include <objbase.h>

namespace brenik::monitor {
namespace {

constexpr const char* kWindowClass = "BrenikGamingKeyboardMonitorWindow";
constexpr int kWindowX = 100;
constexpr int kWindowY = 100;
constexpr int kWindowSize = 100;

}  // namespace

CMonitorWnd::CMonitorWnd(bool openSettingsAfterStart)
    : folder_(ProgramFolder()),
      configPath_(ConfigIniPathIn(folder_)),
      store_(state_, folder_),
      osd_(desktop_, state_, configPath_, ini::SystemIniStorage()),
      companions_(desktop_, folder_, osd_),
      tray_(desktop_, companions_),
      sounds_(state_, folder_, soundPlayer_),
      device_(hid_, state_, configPath_, store_, desktop_, osd_, flags_),
      jobThread_(flags_),
      firstSync_(jobThread_),
      profileSwitch_(state_, store_, jobThread_, desktop_, osd_),
      games_(state_, [this](int index) { profileSwitch_.Switch(index); }),
      media_(state_, mediaPlatform_.Platform()),
      sequences_({flags_, clock_, device_, jobThread_, firstSync_, tray_, games_, companions_, desktop_},
                 openSettingsAfterStart),
      actions_(profileSwitch_, sounds_, osd_, media_, jobThread_, store_),
      dispatch_(desktop_, state_, actions_, sequences_) {}

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
        case tray::kMsgTrayCallback: tray_.OnSystrayNotify(lParam); return 0;
        case kMsgSettingsChanged: OnSettingsChanged(wParam); return 0;
        case kMsgRereadShared1:
        case kMsgRereadShared2: store_.Reread(); return 0;
        case kMsgNoAction1:
        case kMsgNoAction2:
        case kMsgNoAction3: return 0;
        case kMsgNoActionTrue: return 1;
        case kMsgVolumeLevel: OnVolumeLevel(wParam); return 0;
        case games::kMsgForegroundChanged: games_.OnForegroundChanged(); return 0;
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

    // The parts that post to, or time on, the window get it now that it exists.
    tray_.Attach(hwnd_);
    device_.Attach(hwnd_);
    firstSync_.Attach(hwnd_);
    games_.Attach(hwnd_);

    // The program folder and the configuration path were taken when the window object was made.
    sessions_.Register(hwnd_);
    hid_.Load(hid::kAllEntryPoints);  // a missing library reads as no keyboard

    store_.Load();
    osd_.LoadSettings();

    // A second monitor in another session, or a leftover, owns the lock: this one must not run.
    if (!store_.CreateLock()) return false;
    state_.Use([](StateRecord& state) { ClearChangeFlags(state); });
    if (store_.CreateBlock()) store_.Publish();

    jobThread_.Start(device_, desktop_);
    SetWindowLongPtrA(hwnd_, GWL_EXSTYLE, WS_EX_TOOLWINDOW);
    games_.Open();  // a game is seen as it comes to the front; the game timer stays

    sequences_.StartUp();
    return true;
}

void CMonitorWnd::OnDestroy() {
    // The job thread ends first: a job waiting on a busy keyboard would otherwise hold the host
    // state, and the window with it, for its whole handshake. Then the keyboard is told that
    // the host leaves, without waiting for its answer (no job is left to clear the abort).
    jobThread_.RefuseJobs();  // queued jobs must not start after the abort and clear it
    flags_.RequestJobAbort();
    jobThread_.Stop();
    flags_.g_iJobAbort.store(1);
    device_.SetHostStateLeaving();
    games_.Close();
    firstSync_.Stop();
    companions_.Close();
    if (hid_.Loaded()) {
        device_.CloseDevMonitor();
        device_.CloseFeatureDevice();
    }
    hid_.Unload();
    sessions_.Unregister();
    if (comInitialised_) CoUninitialize();
    comInitialised_ = false;
    store_.Close();
    tray_.Remove();
    PostQuitMessage(0);
}

void CMonitorWnd::OnTimer(UINT_PTR timer) {
    if (timer == games::kTimerDetectGame) games_.OnTimer();
    if (timer == kTimerFirstSync) firstSync_.OnTimer();
}

void CMonitorWnd::OnCommand(UINT command) {
    if (command == tray::kCmdConfiguration) tray_.OnCustomizer();
    if (command == tray::kCmdExit) PostMessageA(hwnd_, WM_CLOSE, 0, 0);
}

void CMonitorWnd::OnSettingsChanged(WPARAM jobArgument) {
    // Restoring the keyboard replaces what it holds: the profiles as they were go to the history.
    if (jobArgument == device::kApplyWholeKeyboard) store_.KeepHistory(history::HistoryReason::kRestore);
    store_.Reread();
    // Saved at once, so that what was applied is in the files even if the monitor ends before
    // its next save; the keyboard's token says the two agree from the end of job 1 on. Like
    // every save, it also passes the current profile's key repeat to the system.
    store_.SaveProfiles();
    osd_.LoadSettings();
    osd_.PostSettings();
    bool queued = false;
    if (flags_.Attached()) {
        companions_.UpdateApplets();
        queued = jobThread_.Post(device::kJobApplyChanges, static_cast<std::intptr_t>(jobArgument));
    }
    // The settings program waits for this to enable its buttons again.
    if (!queued) peers::SettingsProgramNotifier(desktop_).EnableButtons(peers::EnableButtonsFrom::kMessageHandler);
}

void CMonitorWnd::OnVolumeLevel(WPARAM level) {
    store_.Reread();
    state_.Use([&](StateRecord& state) { state.VolumeLevel = static_cast<std::int32_t>(level); });
    // On the job thread: a busy keyboard must not hold the window for the handshake.
    if (flags_.g_iSynced.load() == 1) jobThread_.Post(device::kJobWriteVolume, static_cast<std::intptr_t>(level));
}

LRESULT CMonitorWnd::OnCopyData(const COPYDATASTRUCT* data) {
    if (data == nullptr) return TRUE;  // answered 1 like every other block: a sender learns nothing from it
    return osd_.OnCopyData(data->lpData, data->cbData, flags_.Attached()) ? TRUE : FALSE;
}

}  // namespace brenik::monitor
