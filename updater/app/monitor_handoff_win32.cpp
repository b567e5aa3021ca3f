#include "monitor_handoff_win32.h"

#include "debug_output.h"
#include "launch_choice.h"

#include <windows.h>
#include <shellapi.h>

namespace brenik::updater {

namespace {
constexpr UINT kCloseWaitMs = 30000;
}  // namespace

void AskMonitorToClose() {
    for (const char* title : kMonitorWindowTitles) {
        if (HWND monitor = FindWindowA(nullptr, title)) PostMessageW(monitor, WM_CLOSE, 0, 0);
    }
}

void CloseMonitorAndWait() {
    for (const char* title : kMonitorWindowTitles) {
        HWND monitor = FindWindowA(nullptr, title);
        if (monitor == nullptr) continue;
        DWORD_PTR ignored = 0;
        if (!SendMessageTimeoutW(monitor, WM_CLOSE, 0, 0, SMTO_NORMAL, kCloseWaitMs, &ignored)) {
            DebugPrintf("FW Update: the monitor did not answer the close request\n");
        }
    }
}

bool StartMonitor(const std::string& programFolder) {
    const std::string path = MonitorPathFor(programFolder);
    if (path.empty()) return false;
    const auto result = reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (result <= 32) {
        DebugPrintf("FW Update: cannot start %s (%d)\n", path.c_str(), static_cast<int>(result));
        return false;
    }
    return true;
}

}  // namespace brenik::updater
