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

// The first synchronisation after start-up: job 2 once, 200 ms later (timer 502 of the main
// window), instead of at once.
class IFirstSync {
public:
    virtual ~IFirstSync() = default;
    virtual void Schedule() = 0;
};

}  // namespace brenik::monitor
