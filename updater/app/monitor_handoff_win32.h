#pragma once
// The updater and the monitor never use the keyboard at the same time: the monitor is closed
// before an update and started again after a successful one.

#include "program_windows.h"

#include <string>

namespace brenik::updater {

// Both titles the monitor's window has gone by; whichever is found is closed.
constexpr const char* kMonitorWindowTitles[] = {kTitleMonitor, kTitleMonitorEarlier};

// Posts a close request to the monitor's window; nothing when it is not running.
void AskMonitorToClose();
// Sends the close request and waits until the monitor has handled it (bounded, so that a
// hung monitor cannot hold the updater).
void CloseMonitorAndWait();
// Starts "<parent of the program folder>\Monitor.EXE" through the shell.
bool StartMonitor(const std::string& programFolder);

}  // namespace brenik::updater
