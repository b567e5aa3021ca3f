#include "first_sync_timer_win32.h"

#include "job_codes.h"
#include "monitor_messages.h"

namespace brenik::monitor {

void FirstSyncTimer::Schedule() { SetTimer(window_, kTimerFirstSync, kTimerFirstSyncMs, nullptr); }

void FirstSyncTimer::OnTimer() {
    Stop();
    jobs_.Post(device::kJobSynchronise, 0);
}

void FirstSyncTimer::Stop() { KillTimer(window_, kTimerFirstSync); }

}  // namespace brenik::monitor
