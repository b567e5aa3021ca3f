#pragma once
// What one transfer talks through: the keyboard's reports, the clock for every wait, and the
// stop request of a closing dialog. The stop request is looked at before every report and
// every 100 ms of waiting, so that a closing program never has the transfer call the
// library after it has been told to stop.

#include "feature_reports.h"
#include "abortable_sleep.h"

#include <cstdint>
#include <functional>

namespace brenik::updater {

struct UpdateLink {
    hid::IFeatureReports& port;
    ISleepClock& clock;
    std::function<bool()> stopRequested;  // may be empty: never stopped

    bool Stopped() const { return stopRequested && stopRequested(); }
};

// Waits ms in slices of 100 ms (SleepAbortable); false when a stop was requested.
bool Pause(const UpdateLink& link, std::uint32_t ms);

}  // namespace brenik::updater
