#pragma once
// One readable line per report for the protocol trace: direction, command name and the
// fields that tell one exchange from another (profile, selector, key, block).

#include <cstddef>
#include <cstdint>
#include <string>

namespace brenik::vkb {

// The command's name, e.g. "select" (report 4 written), "status" (report 4 read), "macro".
std::string ReportName(std::uint8_t reportId, bool fromHost);

// "SET select profile=0 selector=0x60 key-functions-0-11", "GET status=1", ... for a report
// that has its full length; reads nothing beyond length.
std::string DescribeReport(const std::uint8_t* report, std::size_t length, bool fromHost);

}  // namespace brenik::vkb
