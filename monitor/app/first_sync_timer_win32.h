#pragma once
// FirstSyncTimer: the first synchronisation after start-up, queued once, 200 ms later, by
// timer 502 of the main window, whatever the game timer does.

#include "first_sync.h"
#include "job_queue.h"

#include <windows.h>

namespace brenik::monitor {

class FirstSyncTimer final : public IFirstSync {
public:
    explicit FirstSyncTimer(IJobQueue& jobs) : jobs_(jobs) {}

    // The main window, once it exists: the timer runs on it.
    void Attach(HWND window) { window_ = window; }
    // Starts timer 502.
    void Schedule() override;
    // WM_TIMER of timer 502: stops it (once only) and queues job 2.
    void OnTimer();
    // Shutdown.
    void Stop();

private:
    IJobQueue& jobs_;
    HWND window_ = nullptr;
};

}  // namespace brenik::monitor
