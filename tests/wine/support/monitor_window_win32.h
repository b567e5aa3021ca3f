#pragma once
// The monitor's window as the other programs find it: by its title, afresh each time, never
// kept. The title is written here by its value: the updater, the settings program and the
// applets find the monitor by it, so a test that finds the window also pins the title.

#include <windows.h>

namespace brenik::test {

constexpr const char* kMonitorWindowTitle = "BrenikGamingKeyboardMonitor";
// How long a monitor may take to show its window, or to end once it is asked to close.
constexpr DWORD kMonitorStartTimeoutMs = 15000;

// The monitor's window, or nullptr while none is open.
HWND MonitorWindow();
bool WaitForMonitorWindow(DWORD timeoutMs = kMonitorStartTimeoutMs);
bool WaitForNoMonitorWindow(DWORD timeoutMs = kMonitorStartTimeoutMs);
// Asks the monitor to close (WM_CLOSE, as the tray's Exit does), if a window is open, and
// waits until none is.
bool CloseMonitorWindow(DWORD timeoutMs = kMonitorStartTimeoutMs);

}  // namespace brenik::test
