#pragma once
// The two readings the gauge takes once a second: the system's idle, kernel and user times
// (GetSystemTimes) and the share of physical memory in use (GlobalMemoryStatusEx).

#include "cpu_usage.h"

#include <optional>

namespace brenik::sysgauge {

std::optional<SystemTimes> ReadSystemTimes();
std::optional<unsigned> ReadMemoryPercent();

}  // namespace brenik::sysgauge
