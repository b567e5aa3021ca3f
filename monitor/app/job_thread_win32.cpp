#include "job_thread_win32.h"

#include "debug_output.h"
#include "monitor_messages.h"

namespace brenik::monitor {
namespace {

// Initial stack commit of the job thread; it grows on demand within the default reservation.
constexpr SIZE_T kJobThreadStack = 4096;

}  // namespace

bool JobThread::Start(IDeviceJobs& jobs, IDesktop& desktop) {
    if (thread_.Valid()) return true;
    jobs_ = &jobs;
    desktop_ = &desktop;
    queueReady_.Reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!queueReady_.Valid()) return false;
    DWORD id = 0;
    thread_.Reset(CreateThread(nullptr, kJobThreadStack, &JobThread::Main, this, 0, &id));
    if (!thread_.Valid()) return false;
    WaitForSingleObject(queueReady_.Get(), INFINITE);
    threadId_ = id;
    return true;
}

bool JobThread::Post(int job, std::intptr_t argument) {
    if (threadId_ == 0) return false;
    return PostThreadMessageA(threadId_, kMsgJob, static_cast<WPARAM>(job), argument) != 0;
}

void JobThread::Stop() {
    if (!thread_.Valid()) return;
    RefuseJobs();
    PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
    WaitForSingleObject(thread_.Get(), INFINITE);
    thread_.Reset();
    threadId_ = 0;
}

DWORD WINAPI JobThread::Main(void* self) {
    static_cast<JobThread*>(self)->Loop();
    return 0;
}

void JobThread::Loop() {
    MSG message;
    // A thread has a message queue only once it asks for a message.
    PeekMessageA(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    SetEvent(queueReady_.Get());
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (message.message != kMsgJob) continue;
        // Nothing thrown may end the monitor from here; the job is lost, the program runs on.
        try {
            RunJobRequest(static_cast<int>(message.wParam), message.lParam, *jobs_, flags_, *desktop_, refusing_);
        } catch (...) {
            DebugPrintf("Job thread: job %d failed and was dropped\n", static_cast<int>(message.wParam));
            flags_.g_iJobRunning.store(0);
        }
    }
}

}  // namespace brenik::monitor
