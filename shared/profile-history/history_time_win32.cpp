#include "history_copy.h"

#include <windows.h>

#include <cstdio>

namespace brenik::history {

HistoryTime HistoryTimeNow() {
    // FILETIME counts 100 ns from 1601; 11644473600 s lie between 1601 and 1970.
    constexpr std::int64_t kTicksPerSecond = 10000000;
    constexpr std::int64_t kSeconds1601To1970 = 11644473600;
    FILETIME utc{};
    GetSystemTimeAsFileTime(&utc);
    const std::int64_t ticks = (static_cast<std::int64_t>(utc.dwHighDateTime) << 32) | utc.dwLowDateTime;
    SYSTEMTIME local{};
    GetLocalTime(&local);
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", local.wYear, local.wMonth, local.wDay, local.wHour,
                  local.wMinute, local.wSecond);
    return {ticks / kTicksPerSecond - kSeconds1601To1970, text};
}

}  // namespace brenik::history
