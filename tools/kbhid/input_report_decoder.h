#pragma once
// Key events from the keyboard's input reports (hardware backend). Our keyboard sends an
// event as one input report on its configuration collection:
//
//   byte 0     report id (kbhid.ini [Hardware] EventReportId, 5 unless set)
//   bytes 1-2  event class, 16 bits little-endian (0x3000 profile key, 0x5000 macro
//              recording, 0xE000 layer switch, ...)
//   bytes 3-4  sub-code, 16 bits little-endian: low byte the key byte, high byte the
//              qualifier
//   the rest   zero padding up to the collection's input-report length
//
// An event class of 0 is an idle report and carries no event. Reports of other ids (the
// keyboard's ordinary key reports, if the collection carries any) are not events.

#include <cstddef>
#include <cstdint>

namespace brenik::kbhid {

struct KeyEvent {
    std::uint16_t eventClass = 0;
    std::uint16_t subCode = 0;
};

constexpr std::size_t kEventReportMinBytes = 5;

// True and the event when the report is an event report of that id.
bool DecodeEventReport(const std::uint8_t* report, std::size_t length, std::uint8_t eventReportId, KeyEvent& event);

}  // namespace brenik::kbhid
