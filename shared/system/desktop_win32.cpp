#include "desktop_win32.h"

#include <windows.h>
#include <shellapi.h>

namespace brenik {

WindowId Win32Desktop::FindWindowByTitle(const char* title) {
    return reinterpret_cast<WindowId>(FindWindowA(nullptr, title));
}

bool Win32Desktop::Post(WindowId window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    return PostMessageA(reinterpret_cast<HWND>(window), message, wParam, lParam) != 0;
}

void Win32Desktop::BringForward(WindowId window) {
    const HWND hwnd = reinterpret_cast<HWND>(window);
    if (IsIconic(hwnd)) ShowWindow(hwnd, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd);
    // Acts only on a window of this thread (the monitor's own); another program's window is
    // activated by SetForegroundWindow already.
    SetActiveWindow(hwnd);
}

bool Win32Desktop::ShellOpen(const std::string& path) {
    // ShellExecute reports success as a value above 32.
    const auto result = reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", path.c_str(), nullptr, nullptr, SW_SHOW));
    return result > 32;
}

}  // namespace brenik
