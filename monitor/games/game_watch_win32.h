#pragma once
// GameWatch: game detection's one home. It owns the looks (GameDetection over the platform's
// answers), the game timer (500, every 2000 ms, on the monitor's window) and the foreground
// notice (ForegroundEventHook), and decides when a look is made:
//  - on every tick of the timer, which runs from Start (the keyboard is here) to Stop (it
//    went, or the monitor closes);
//  - on every foreground notice, but only while the timer runs: the notice makes a look
//    sooner, nothing more.
// The hook lives from Open (start-up) to Close (shutdown), the timer or not. Everything runs
// on the window's thread.

#include "foreground_event_hook_win32.h"
#include "foreground_process_win32.h"
#include "game_detection.h"
#include "game_watch.h"
#include "working_copy.h"

#include <windows.h>

#include <functional>

namespace brenik::monitor::games {

class GameWatch final : public IGameWatch {
public:
    // switchProfile(n) makes profile n current.
    GameWatch(WorkingCopy& state, std::function<void(int)> switchProfile);

    // The monitor's window, once it exists: the timer ticks on it.
    void Attach(HWND window) { window_ = window; }
    // Installs the foreground hook (start-up); the timer is not started.
    void Open() { hook_.Install(); }
    // Stops the timer and removes the hook (shutdown).
    void Close();

    void Start() override;
    void Stop() override;

    // WM_TIMER of timer 500.
    void OnTimer() { detection_.DetectGame(); }
    // kMsgForegroundChanged, posted by the hook.
    void OnForegroundChanged();

private:
    Win32ForegroundProcess processes_;
    GameDetection detection_;
    ForegroundEventHook hook_;
    HWND window_ = nullptr;
    bool timerRunning_ = false;
};

}  // namespace brenik::monitor::games
