#include "job_runner.h"

#include "debug_output.h"
#include "job_flags.h"
#include "monitor_messages.h"

namespace brenik {

bool RunJobRequest(int job, std::intptr_t argument, IDeviceJobs& jobs, IDesktop& desktop,
                   const std::atomic<bool>& refusing) {
    // Not retried: the next arrival or session connect queues the synchronisation again.
    if (g_iDeviceState.load() != kDeviceAttached) return false;
    if (job < kJobApplyChanges || job > kJobWriteVolume) {
        DebugPrintf("Job thread refused unknown job %d\n", job);
        return false;
    }
    // Cleared before the job counts as running, so an abort asked for from now on is kept.
    g_iJobAbort.store(0);
    g_iJobRunning.store(1);
    if (refusing.load()) {
        g_iJobRunning.store(0);
        return false;
    }
    jobs.Run(job, argument);
    if (job == kJobApplyChanges) SendEnableNotification(desktop, true);
    if (job == kJobSynchronise) PostToTitle(desktop, kTitleVolumeController, kMsgVolumeSyncDone, 1, 0);
    g_iJobRunning.store(0);
    return true;
}

void SendEnableNotification(IDesktop& desktop, bool fromJobThread) {
    if (!PostToTitle(desktop, kTitleSettings, kMsgEnableButtons)) {
        DebugOutput("OnApplyAllSetting Don't find Nerra Option Dialog\n");
    }
    DebugOutput(fromJobThread ? "Thread Send Enable OK/Apply Button\n" : "OnApplyAllSetting  Send Enable OK/Apply Button\n");
}

}  // namespace brenik
