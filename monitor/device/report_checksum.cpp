#include "report_checksum.h"

namespace brenik::monitor::device {

std::uint16_t ReportChecksum(const std::uint8_t* report, std::size_t length) {
    if (length < 3) return 0;
    unsigned sum = 0;
    for (std::size_t i = 0; i + 2 < length; ++i) sum += report[i];
    return static_cast<std::uint16_t>(sum);
}

void StoreChecksum(std::uint8_t* report, std::size_t length) {
    if (length < 3) return;
    const std::uint16_t sum = ReportChecksum(report, length);
    report[length - 2] = static_cast<std::uint8_t>(sum & 0xFF);
    report[length - 1] = static_cast<std::uint8_t>(sum >> 8);
}

bool ChecksumMatches(const std::uint8_t* report, std::size_t length) {
    if (length < 3) return false;
    const std::uint16_t sum = ReportChecksum(report, length);
    return report[length - 2] == (sum & 0xFF) && report[length - 1] == (sum >> 8);
}

}  // namespace brenik::monitor::device
