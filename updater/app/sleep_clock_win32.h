#pragma once
// The update's waits on the real clock.

#include "update_clock.h"

#include <windows.h>

namespace brenik::updater {

class SleepClock : public UpdateClock {
public:
    void SleepMs(std::uint32_t milliseconds) override { Sleep(milliseconds); }
};

}  // namespace brenik::updater
