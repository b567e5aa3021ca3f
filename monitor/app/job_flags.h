#pragma once
// Process-wide values shared by the main thread and the job thread. Atomic, so that one
// thread's write and the other's read are defined; no lock is needed beyond that.

#include <atomic>

namespace brenik {

// Presence of the keyboard; device jobs run only while it is kDeviceAttached.
enum DeviceState : int {
    kDeviceNotOpened = 0,  // not opened at start-up
    kDeviceAttached = 1,
    kDeviceRemoved = 2,
};

}  // namespace brenik

extern std::atomic<int> g_iJobRunning;   // 1 while the job thread runs a job
extern std::atomic<int> g_iJobAbort;     // 1 asks the running job to stop; cleared when a job starts
extern std::atomic<int> g_iSynced;       // 1 once job 2 succeeded; gates the volume-level command
extern std::atomic<int> g_iDeviceState;  // a brenik::DeviceState

namespace brenik {

// Asks a running job to stop at its next check; does nothing when no job runs.
void RequestJobAbort();

}  // namespace brenik
