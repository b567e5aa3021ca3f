#pragma once
// The 16-bit additive checksum of the macro report: the sum of bytes 0..length-3, stored low
// byte first in the last two bytes.

#include <cstddef>
#include <cstdint>

namespace brenik::monitor::device {

// Sum of report[0..length-3], cut to 16 bits; 0 for a report shorter than 3 bytes.
std::uint16_t ReportChecksum(const std::uint8_t* report, std::size_t length);

void StoreChecksum(std::uint8_t* report, std::size_t length);

// Whether the last two bytes hold the checksum of the rest.
bool ChecksumMatches(const std::uint8_t* report, std::size_t length);

}  // namespace brenik::monitor::device
