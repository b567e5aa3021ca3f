#include "system_readings_win32.h"

#include "memory_usage.h"

#include <windows.h>

namespace brenik::sysgauge {
namespace {

std::uint64_t Ticks(const FILETIME& time) {
    return static_cast<std::uint64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
}

}  // namespace

std::optional<SystemTimes> ReadSystemTimes() {
    FILETIME idle{}, kernel{}, user{};
    if (!GetSystemTimes(&idle, &kernel, &user)) return std::nullopt;
    return SystemTimes{Ticks(idle), Ticks(kernel), Ticks(user)};
}

std::optional<unsigned> ReadMemoryPercent() {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status)) return std::nullopt;
    return MemoryPercent(status.ullTotalPhys, status.ullAvailPhys);
}

}  // namespace brenik::sysgauge
