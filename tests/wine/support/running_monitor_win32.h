#pragma once
// A Monitor.exe a test starts: started and waited for until its window shows, asked to close
// as the user would (WM_CLOSE to its window), and closed so at the end if it still runs.

#include "monitor_window_win32.h"
#include "wine_test_support.h"

#include <windows.h>

#include <string>

namespace brenik::test {

class RunningMonitor {
public:
    RunningMonitor() = default;
    ~RunningMonitor();
    RunningMonitor(const RunningMonitor&) = delete;
    RunningMonitor& operator=(const RunningMonitor&) = delete;

    // Starts the program and waits until its window shows.
    bool Start(const std::string& monitorExe, const std::string& arguments = "");
    // Only starts the program (a test that waits for something else first).
    bool Launch(const std::string& monitorExe, const std::string& arguments = "");
    // Asks it to close if it still runs and waits for its end: its exit code, -1 when it did
    // not end in time, 0 when it was never started.
    long Close(DWORD timeoutMs = kMonitorStartTimeoutMs);
    // Waits for an end that something else brings (the updater, the tray's Exit).
    long Wait(DWORD timeoutMs) { return process_.Wait(timeoutMs); }
    bool Running() const { return process_.Running(); }
    HANDLE Handle() const { return process_.Handle(); }

private:
    ChildProcess process_;
};

}  // namespace brenik::test
