#pragma once
// The share of physical memory in use, from the total and the available bytes
// (GlobalMemoryStatusEx's ullTotalPhys and ullAvailPhys).

#include <cstdint>
#include <optional>

namespace brenik::sysgauge {

// Percent 0..100, rounded to the nearest; none when the total is 0. More available than the
// total (a reading taken while memory was added) reads as 0 % in use.
std::optional<unsigned> MemoryPercent(std::uint64_t totalBytes, std::uint64_t availableBytes);

}  // namespace brenik::sysgauge
