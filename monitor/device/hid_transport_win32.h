#pragma once
// The feature interface of the keyboard through the HID access library.

#include "hid_library.h"
#include "report_transport.h"

namespace brenik::device {

class HidTransport final : public IReportTransport {
public:
    explicit HidTransport(const hid::HidLibrary& library) : library_(library) {}
    bool SetFeature(std::uint8_t* report, std::size_t length) override;
    bool GetFeature(std::uint8_t* report, std::size_t length) override;

private:
    const hid::HidLibrary& library_;
};

}  // namespace brenik::device
