#include "job_runner.h"

#include "debug_output.h"
#include "job_codes.h"
#include "settings_program_notifier.h"
#include "volume_controller_notifier.h"

namespace brenik::monitor {

bool RunJobRequest(int job, std::intptr_t argument, IDeviceJobs& jobs, JobFlags& flags, IDesktop& desktop,
                   const std::atomic<bool>& refusing) {
    // Not retried: the next arrival or session connect queues the synchronisation again.
    if (!flags.Attached()) return false;
    if (job < device::kJobApplyChanges || job > device::kJobWriteVolume) {
        DebugPrintf("Job thread refused unknown job %d\n", job);
        return false;
    }
    // Cleared before the job counts as running, so an abort asked for from now on is kept.
    flags.g_iJobAbort.store(0);
    flags.g_iJobRunning.store(1);
    if (refusing.load()) {
        flags.g_iJobRunning.store(0);
        return false;
    }
    jobs.Run(job, argument);
    if (job == device::kJobApplyChanges) peers::SettingsProgramNotifier(desktop).EnableButtons(peers::EnableButtonsFrom::kJobThread);
    if (job == device::kJobSynchronise) peers::VolumeControllerNotifier(desktop).SyncDone();
    flags.g_iJobRunning.store(0);
    return true;
}

}  // namespace brenik::monitor
