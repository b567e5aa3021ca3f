#include "memory_usage.h"

namespace brenik::sysgauge {

std::optional<unsigned> MemoryPercent(std::uint64_t totalBytes, std::uint64_t availableBytes) {
    if (totalBytes == 0) return std::nullopt;
    const std::uint64_t used = availableBytes >= totalBytes ? 0 : totalBytes - availableBytes;
    // In KiB, so that 200 times the amount stays far inside 64 bits.
    const std::uint64_t usedKiB = used / 1024;
    const std::uint64_t totalKiB = totalBytes / 1024;
    if (totalKiB == 0) return static_cast<unsigned>((used * 200 + totalBytes) / (2 * totalBytes));
    return static_cast<unsigned>((usedKiB * 200 + totalKiB) / (2 * totalKiB));
}

}  // namespace brenik::sysgauge
