#include "monitor_window_win32.h"

#include "wine_test_support.h"

namespace brenik::test {

HWND MonitorWindow() { return FindWindowA(nullptr, kMonitorWindowTitle); }

bool WaitForMonitorWindow(DWORD timeoutMs) {
    return WaitUntil([] { return MonitorWindow() != nullptr; }, timeoutMs);
}

bool WaitForNoMonitorWindow(DWORD timeoutMs) {
    return WaitUntil([] { return MonitorWindow() == nullptr; }, timeoutMs);
}

bool CloseMonitorWindow(DWORD timeoutMs) {
    if (HWND window = MonitorWindow()) PostMessageA(window, WM_CLOSE, 0, 0);
    return WaitForNoMonitorWindow(timeoutMs);
}

}  // namespace brenik::test
