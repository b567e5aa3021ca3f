#pragma once
// JobFlags: the values the main thread and the job thread share, in one object. The main
// window owns it and hands it by reference to the job thread, the device side and the device
// sequences. Atomic, so that one thread's write and the other's read are defined; no lock is
// needed beyond that. The members keep the names these values have always had.

#include <atomic>

namespace brenik::monitor {

// Presence of the keyboard; device jobs run only while it is kDeviceAttached.
enum DeviceState : int {
    kDeviceNotOpened = 0,  // not opened at start-up
    kDeviceAttached = 1,
    kDeviceRemoved = 2,
};

struct JobFlags {
    std::atomic<int> g_iJobRunning{0};                // 1 while the job thread runs a job
    std::atomic<int> g_iJobAbort{0};                  // 1 asks the running job to stop; cleared when a job starts
    std::atomic<int> g_iSynced{0};                    // 1 once job 2 succeeded; gates the volume-level command
    std::atomic<int> g_iDeviceState{kDeviceNotOpened};  // a DeviceState

    // Asks a running job to stop at its next check; does nothing when no job runs.
    void RequestJobAbort() {
        if (g_iJobRunning.load() == 1) g_iJobAbort.store(1);
    }
    bool Attached() const { return g_iDeviceState.load() == kDeviceAttached; }
};

}  // namespace brenik::monitor
