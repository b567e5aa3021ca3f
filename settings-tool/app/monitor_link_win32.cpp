#include "monitor_link_win32.h"

#include "debug_output.h"
#include "ini_file.h"
#include "program_windows.h"

namespace brenik::settings {
namespace {

constexpr const char* kAnswerWindowClass = "BrenikSettingsToolAnswer";
// Written by the monitor on every change of the keyboard's presence; 1 = present.
constexpr const char* kDeviceSection = "Setting";
constexpr const char* kDeviceKey = "Device";

}  // namespace

bool MonitorLinkWin32::MonitorRunning() { return FindWindowA(nullptr, kTitleMonitor) != nullptr; }

bool MonitorLinkWin32::KeyboardPresent() { return CIniFile(configIni_).ReadInt(kDeviceSection, kDeviceKey, 0) == 1; }

bool MonitorLinkWin32::SettingsWindowExists() { return FindWindowA(nullptr, kTitleSettings) != nullptr; }

LRESULT CALLBACK MonitorLinkWin32::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<MonitorLinkWin32*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (message == kMsgEnableButtons && self != nullptr) {
        self->answered_ = true;
        return 0;
    }
    // The monitor closes the settings program when the keyboard goes away; this window stays
    // until the tool is done, and the answer still comes (an aborted job answers too).
    if (message == WM_CLOSE) return 0;
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

bool MonitorLinkWin32::OpenAnswerWindow() {
    if (window_ != nullptr) return true;
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &MonitorLinkWin32::WindowProc;
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
    }
    return window_ != nullptr;
}

void MonitorLinkWin32::CloseAnswerWindow() {
    if (window_ != nullptr) DestroyWindow(window_);
    window_ = nullptr;
    if (classRegistered_) UnregisterClassA(kAnswerWindowClass, GetModuleHandleA(nullptr));
    classRegistered_ = false;
}

bool MonitorLinkWin32::NotifySettingsChanged() {
    const HWND monitor = FindWindowA(nullptr, kTitleMonitor);
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
