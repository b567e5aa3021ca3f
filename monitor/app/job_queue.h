#pragma once
// The job thread's queue as the rest of the monitor sees it (JobThread on Windows, a recorder
// in the tests).

#include <cstdint>

namespace brenik::monitor {

class IJobQueue {
public:
    virtual ~IJobQueue() = default;
    // Queues a job (job_codes.h) with its argument; false when the queue refused it.
    virtual bool Post(int job, std::intptr_t argument) = 0;
};

}  // namespace brenik::monitor
