#include "abortable_sleep.h"

namespace brenik {

bool SleepAbortable(ISleepClock& clock, unsigned milliseconds, const std::function<bool()>& aborted) {
    const auto stop = [&] { return aborted && aborted(); };
    for (unsigned slice = 0; slice < milliseconds / kSleepSliceMs; ++slice) {
        if (stop()) return false;
        clock.SleepMs(kSleepSliceMs);
    }
    return !stop();
}

}  // namespace brenik
