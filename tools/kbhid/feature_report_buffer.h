#pragma once
// The platform's HID feature calls want a buffer of the collection's full feature-report
// length (the longest feature report of the collection, report id included): a shorter one
// is refused, a longer one cut. Callers of kbhid hand over each report at its own length,
// so the hardware backend pads on the way out and copies only the caller's length back.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace brenik::kbhid {

// The caller's report followed by zeros up to featureLength. False (out untouched) when the
// report is empty or longer than the collection's feature reports.
bool PadFeatureReport(const std::uint8_t* report, std::size_t length, std::size_t featureLength,
                      std::vector<std::uint8_t>& out);

// A zeroed buffer of featureLength with byte 0 the report id the caller asked for; false
// under the same conditions as PadFeatureReport.
bool PrepareFeatureRead(std::uint8_t reportId, std::size_t length, std::size_t featureLength,
                        std::vector<std::uint8_t>& out);

// Copies the first length bytes of a padded reply into the caller's buffer; false (the
// buffer untouched) when the reply is shorter than that or answers another report id.
bool CopyFeatureReply(const std::vector<std::uint8_t>& reply, std::uint8_t* buffer, std::size_t length);

}  // namespace brenik::kbhid
