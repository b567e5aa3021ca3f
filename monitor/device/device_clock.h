#pragma once
// Time as the device protocol sees it: sleeping, and the calendar clock that sync tokens are
// made from. The programs use the system's; the unit tests a virtual one, so that a
// handshake of nine seconds runs in no real time at all.

#include "abortable_sleep.h"

#include <cstdint>

namespace brenik::monitor::device {

class IDeviceClock : public ISleepClock {
public:
    // Seconds since 1970-01-01 00:00 UTC.
    virtual std::uint32_t NowUnixSeconds() = 0;
};

}  // namespace brenik::monitor::device
