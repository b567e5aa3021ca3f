#pragma once
// The monitor's private numbers: its timers, the job thread's message and the pause after an
// arrival; no other program sends or receives them. The tray's callback and menu commands are
// the tray's (tray_messages.h), the foreground notice the hook's. What the monitor exchanges
// with other programs is in shared/contracts: monitor_inbox.h (what it receives, kbhid.dll's
// two messages among them) and peer_messages.h (what it sends).

namespace brenik::monitor {

// Thread message of the job thread: wParam = job, lParam = its argument. Private to the
// monitor: posted by its own threads to its job thread.
constexpr unsigned kMsgJob = 1649;

// Timers of the main window (game detection's, 500, is GameWatch's: game_watch.h).
constexpr unsigned kTimerFirstSync = 502;
constexpr unsigned kTimerFirstSyncMs = 200;

// Pause after the keyboard arrives, before it is opened: the main thread blocks meanwhile.
constexpr unsigned kArrivalSettleMs = 5000;

}  // namespace brenik::monitor
