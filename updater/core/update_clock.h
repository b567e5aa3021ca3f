#pragma once
// Every wait of the update goes through this, so that the tests run a whole transfer, with
// its 22.9-second busy give-up, in virtual time.

#include <cstdint>

namespace brenik::updater {

class UpdateClock {
public:
    virtual ~UpdateClock() = default;
    virtual void SleepMs(std::uint32_t milliseconds) = 0;
};

}  // namespace brenik::updater
