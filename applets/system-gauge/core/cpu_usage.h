#pragma once
// The share of the processors' time that was busy between two readings of the system's
// counters (GetSystemTimes: idle, kernel and user time summed over every processor, in 100 ns
// units). The kernel time includes the idle time, so busy = kernel + user - idle.

#include <cstdint>
#include <optional>

namespace brenik::sysgauge {

struct SystemTimes {
    std::uint64_t idle = 0;
    std::uint64_t kernel = 0;  // idle included
    std::uint64_t user = 0;
};

// Percent 0..100, rounded to the nearest. None when the readings say nothing: no time passed
// between them, or a counter went backwards (a wrap, or readings in the wrong order); the
// gauge then keeps what it showed.
std::optional<unsigned> CpuPercent(const SystemTimes& earlier, const SystemTimes& later);

}  // namespace brenik::sysgauge
