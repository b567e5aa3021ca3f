#include "system_device_clock_win32.h"

#include <windows.h>

#include <ctime>

namespace brenik::monitor::device {

void SystemDeviceClock::SleepMs(unsigned milliseconds) { Sleep(milliseconds); }

std::uint32_t SystemDeviceClock::NowUnixSeconds() { return static_cast<std::uint32_t>(std::time(nullptr)); }

}  // namespace brenik::monitor::device
