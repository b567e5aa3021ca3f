#pragma once
// The monitor's own numbers: its timers, its tray menu's commands, the tray callback, the
// job thread's message and the pause after an arrival. What the monitor exchanges with other
// programs is in program_windows.h (companions) and kbhid_api.h (the keyboard's library).

#include "job_codes.h"
#include "kbhid_api.h"
#include "program_windows.h"
#include "tray_messages.h"  // the tray callback and the tray menu's commands

namespace brenik {

// The keyboard's two messages, as the monitor asks kbhid.dll to post them.
constexpr unsigned kMsgKeyEvent = hid::kMsgKeyEvent;
constexpr unsigned kMsgDeviceChange = hid::kMsgDeviceChange;

// Thread message of the job thread: wParam = job, lParam = its argument.
constexpr unsigned kMsgJob = 1649;

// Timers of the main window (game detection's, 500, is GameWatch's: game_watch.h).
constexpr unsigned kTimerFirstSync = 502;
constexpr unsigned kTimerFirstSyncMs = 200;

// Pause after the keyboard arrives, before it is opened: the main thread blocks meanwhile.
constexpr unsigned kArrivalSettleMs = 5000;

}  // namespace brenik
