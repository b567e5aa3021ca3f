#pragma once
// ISleepClock on the real clock.

#include "abortable_sleep.h"

#include <windows.h>

namespace brenik {

class SystemSleepClock final : public ISleepClock {
public:
    void SleepMs(unsigned milliseconds) override { Sleep(milliseconds); }
};

}  // namespace brenik
