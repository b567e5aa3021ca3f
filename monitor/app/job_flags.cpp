#include "job_flags.h"

std::atomic<int> g_iJobRunning{0};
std::atomic<int> g_iJobAbort{0};
std::atomic<int> g_iSynced{0};
std::atomic<int> g_iDeviceState{brenik::kDeviceNotOpened};

namespace brenik {

void RequestJobAbort() {
    if (g_iJobRunning.load() == 1) g_iJobAbort.store(1);
}

}  // namespace brenik
