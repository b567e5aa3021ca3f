#pragma once
// The job thread: takes device jobs as thread message 1649, one at a time in queue order, until
// WM_QUIT. Started at start-up, stopped at shutdown before the keyboard is closed.

#include "desktop.h"
#include "job_flags.h"
#include "job_queue.h"
#include "job_runner.h"
#include "scoped_handle.h"

#include <windows.h>

#include <atomic>
#include <cstdint>

namespace brenik::monitor {

class JobThread final : public IJobQueue {
public:
    explicit JobThread(JobFlags& flags) : flags_(flags) {}
    ~JobThread() override { Stop(); }
    JobThread(const JobThread&) = delete;
    JobThread& operator=(const JobThread&) = delete;

    // Returns once the thread's message queue exists, so no job posted afterwards is lost.
    bool Start(IDeviceJobs& jobs, IDesktop& desktop);
    // False when the thread is not running or the queue refused the message.
    bool Post(int job, std::intptr_t argument) override;
    // From now on jobs still waiting in the queue are dropped unrun: at shutdown they would
    // otherwise start after the abort request, clear it and run in full.
    void RefuseJobs() { refusing_.store(true); }
    // Refuses jobs, posts WM_QUIT and waits, without a time limit, until the thread has ended.
    void Stop();

private:
    static DWORD WINAPI Main(void* self);
    void Loop();

    JobFlags& flags_;
    IDeviceJobs* jobs_ = nullptr;
    IDesktop* desktop_ = nullptr;
    win32::ScopedHandle thread_;
    win32::ScopedHandle queueReady_;
    DWORD threadId_ = 0;
    std::atomic<bool> refusing_{false};
};

}  // namespace brenik::monitor
