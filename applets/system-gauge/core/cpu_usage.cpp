#include "cpu_usage.h"

namespace brenik::sysgauge {

std::optional<unsigned> CpuPercent(const SystemTimes& earlier, const SystemTimes& later) {
    if (later.idle < earlier.idle || later.kernel < earlier.kernel || later.user < earlier.user) return std::nullopt;
    const std::uint64_t idle = later.idle - earlier.idle;
    std::uint64_t total = (later.kernel - earlier.kernel) + (later.user - earlier.user);
    if (total == 0) return std::nullopt;
    // Idle beyond the kernel's own share cannot be; it reads as a processor that did nothing.
    std::uint64_t busy = idle >= total ? 0 : total - idle;
    // Any real interval is far below this; larger test values are scaled down so that the sum
    // below, at most 201 times the total, stays inside 64 bits.
    while (total > UINT64_MAX / 201) {
        busy >>= 1;
        total >>= 1;
    }
    return static_cast<unsigned>((busy * 200 + total) / (2 * total));
}

}  // namespace brenik::sysgauge
