#include "running_monitor_win32.h"

namespace brenik::test {

RunningMonitor::~RunningMonitor() { Close(); }

bool RunningMonitor::Start(const std::string& monitorExe, const std::string& arguments) {
    return Launch(monitorExe, arguments) && WaitForMonitorWindow();
}

bool RunningMonitor::Launch(const std::string& monitorExe, const std::string& arguments) {
    return process_.Start(monitorExe, arguments);
}

long RunningMonitor::Close(DWORD timeoutMs) {
    if (!process_.Started()) return 0;
    if (process_.Running()) {
        if (HWND window = MonitorWindow()) PostMessageA(window, WM_CLOSE, 0, 0);
    }
    return process_.Wait(timeoutMs);
}

}  // namespace brenik::test
