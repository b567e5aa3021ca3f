#include "monitor_link_win32.h"

#include "config_ini_keys.h"
#include "debug_output.h"
#include "ini_file.h"
#include "monitor_inbox.h"
#include "peer_messages.h"
#include "program_windows.h"
#include "window_procedure.h"

#include <utility>

namespace brenik::settings {
namespace {

constexpr const char* kAnswerWindowClass = "BrenikSettingsToolAnswer";
constexpr int kMissingValue = -1000;  // not a value the monitor writes

// Lets the monitor's answer through when the tool runs elevated and the monitor does not
// (UIPI drops posted messages from a lower level otherwise). Looked up at run time: older
// systems and some headers lack it, and the tool works without it when both levels match.
void AllowAnswerFromLowerLevel(HWND window) {
    using FilterFn = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
    constexpr DWORD kAllow = 1;  // MSGFLT_ALLOW
    const HMODULE user32 = GetModuleHandleA("user32.dll");
    if (user32 == nullptr) return;
    const auto filter = reinterpret_cast<FilterFn>(reinterpret_cast<void*>(GetProcAddress(user32, "ChangeWindowMessageFilterEx")));
    if (filter == nullptr || !filter(window, kMsgEnableButtons, kAllow, nullptr)) {
        DebugOutput("BrenikSettings could not let the answer through the message filter; fine unless elevated\n");
    }
}

bool IsOurWindow(HWND window) {
    char name[64] = {};
    return GetClassNameA(window, name, sizeof name) > 0 && lstrcmpA(name, kAnswerWindowClass) == 0;
}

}  // namespace

bool MonitorLinkWin32::MonitorRunning() { return FindWindowA(nullptr, kTitleMonitor) != nullptr; }

KeyboardPresence MonitorLinkWin32::Keyboard() {
    if (GetFileAttributesA(configIni_.c_str()) == INVALID_FILE_ATTRIBUTES) return KeyboardPresence::kNoConfigFile;
    const int device = ini::CIniFile(configIni_).ReadInt(kConfigSettingSection, kConfigDeviceKey, kMissingValue);
    if (device == kMissingValue) return KeyboardPresence::kNoValue;
    return device == 1 ? KeyboardPresence::kPresent : KeyboardPresence::kAbsent;
}

bool MonitorLinkWin32::TakeChangeTurn(int timeoutMs) {
    if (turn_.Valid()) return true;
    win32::ScopedHandle mutex(CreateMutexA(nullptr, FALSE, kSettingsToolMutex));
    if (!mutex.Valid()) {
        DebugPrintf("BrenikSettings could not create %s (error %lu)\n", kSettingsToolMutex,
                    static_cast<unsigned long>(GetLastError()));
        return false;
    }
    switch (WaitForSingleObject(mutex.Get(), static_cast<DWORD>(timeoutMs))) {
        case WAIT_OBJECT_0:
            break;
        case WAIT_ABANDONED:
            // A run that died mid-change; its change is in the block or not, whole either way.
            DebugOutput("BrenikSettings took over a change turn left by a run that ended\n");
            break;
        default:
            DebugPrintf("BrenikSettings: another run kept %s for %d ms\n", kSettingsToolMutex, timeoutMs);
            return false;
    }
    turn_ = std::move(mutex);
    return true;
}

void MonitorLinkWin32::EndChangeTurn() {
    if (!turn_.Valid()) return;
    ReleaseMutex(turn_.Get());
    turn_.Reset();
}

bool MonitorLinkWin32::SettingsWindowExists() {
    for (HWND window = FindWindowExA(nullptr, nullptr, nullptr, kTitleSettings); window != nullptr;
         window = FindWindowExA(nullptr, window, nullptr, kTitleSettings)) {
        if (!IsOurWindow(window)) return true;
    }
    return false;
}

LRESULT MonitorLinkWin32::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kMsgEnableButtons) {
        answered_ = true;
        return 0;
    }
    // The monitor closes the settings program when the keyboard goes away; this window stays
    // until the tool is done, and the answer still comes (an aborted job answers too).
    if (message == WM_CLOSE) return 0;
    return DefWindowProcA(window_, message, wParam, lParam);
}

bool MonitorLinkWin32::OpenAnswerWindow() {
    if (window_ != nullptr) return true;
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &win32::WindowProcedure<MonitorLinkWin32, &MonitorLinkWin32::window_, &MonitorLinkWin32::OnMessage>;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kAnswerWindowClass;
    classRegistered_ = RegisterClassA(&windowClass) != 0;
    if (!classRegistered_) return false;
    answered_ = false;
    // Top level, never shown: FindWindow finds it by title, as it finds the settings program.
    window_ = CreateWindowExA(WS_EX_TOOLWINDOW, kAnswerWindowClass, kTitleSettings, WS_POPUP, 0, 0, 0, 0, nullptr,
                              nullptr, instance, this);
    if (window_ == nullptr) {
        DebugPrintf("BrenikSettings could not create its answer window (error %lu)\n",
                    static_cast<unsigned long>(GetLastError()));
        return false;
    }
    AllowAnswerFromLowerLevel(window_);
    return true;
}

void MonitorLinkWin32::CloseAnswerWindow() {
    if (window_ != nullptr) DestroyWindow(window_);
    window_ = nullptr;
    if (classRegistered_) UnregisterClassA(kAnswerWindowClass, GetModuleHandleA(nullptr));
    classRegistered_ = false;
}

bool MonitorLinkWin32::NotifySettingsChanged() {
    const HWND monitor = FindWindowA(nullptr, kTitleMonitor);
    answered_ = false;  // only the answer to this notification counts
    return monitor != nullptr && PostMessageA(monitor, kMsgSettingsChanged, 0, 0) != FALSE;
}

bool MonitorLinkWin32::WaitForAnswer(int timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
    while (!answered_) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (answered_) break;
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
    }
    return true;
}

}  // namespace brenik::settings
