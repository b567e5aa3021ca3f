#pragma once
// Real time for the device protocol: the system's Sleep and calendar clock.

#include "device_clock.h"

namespace brenik::monitor::device {

class SystemDeviceClock final : public IDeviceClock {
public:
    void SleepMs(unsigned milliseconds) override;
    std::uint32_t NowUnixSeconds() override;
};

}  // namespace brenik::monitor::device
