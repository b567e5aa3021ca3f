#include "input_report_decoder.h"

namespace brenik::kbhid {

bool DecodeEventReport(const std::uint8_t* report, std::size_t length, std::uint8_t eventReportId, KeyEvent& event) {
    if (report == nullptr || length < kEventReportMinBytes || report[0] != eventReportId) return false;
    const auto eventClass = static_cast<std::uint16_t>(report[1] | (report[2] << 8));
    if (eventClass == 0) return false;
    event.eventClass = eventClass;
    event.subCode = static_cast<std::uint16_t>(report[3] | (report[4] << 8));
    return true;
}

}  // namespace brenik::kbhid
