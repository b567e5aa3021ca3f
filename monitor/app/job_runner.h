#pragma once
// One job request as the job thread takes it from its queue: dropped unless the keyboard is
// attached at that moment, run with the job flags set around it, and followed by the
// notification each job owes the companions.

#include "desktop.h"
#include "job_flags.h"

#include <atomic>
#include <cstdint>

namespace brenik::monitor {

// The device jobs themselves: applying changes, synchronising, writing the current profile,
// reading back a recorded macro.
class IDeviceJobs {
public:
    virtual ~IDeviceJobs() = default;
    virtual void Run(int job, std::intptr_t argument) = 0;
};

// Returns false when the job was dropped. Once `refusing` is set (shutdown) no job starts; the
// check comes after the job is marked running, so a job either sees it and stops, or is
// already running when the shutdown asks it to abort.
bool RunJobRequest(int job, std::intptr_t argument, IDeviceJobs& jobs, JobFlags& flags, IDesktop& desktop,
                   const std::atomic<bool>& refusing);

}  // namespace brenik::monitor
