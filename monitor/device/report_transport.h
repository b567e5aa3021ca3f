#pragma once
// The keyboard's feature interface as the protocol needs it: one report out, one report in.
// Over the HID access library in the monitor, over the in-process virtual keyboard in tests.

#include <cstddef>
#include <cstdint>

namespace brenik::device {

class IReportTransport {
public:
    virtual ~IReportTransport() = default;
    // true when the library accepted the report.
    virtual bool SetFeature(std::uint8_t* report, std::size_t length) = 0;
    // Byte 0 preset to the report id; the reply overwrites the buffer. true when one came.
    virtual bool GetFeature(std::uint8_t* report, std::size_t length) = 0;
};

}  // namespace brenik::device
