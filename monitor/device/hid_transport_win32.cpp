#include "hid_transport_win32.h"

#include "device_protocol.h"

namespace brenik::device {

bool HidTransport::SetFeature(std::uint8_t* report, std::size_t length) {
    if (length == 0 || length > kLargestReport) return false;
    return library_.SetFeature(report, static_cast<int>(length));
}

bool HidTransport::GetFeature(std::uint8_t* report, std::size_t length) {
    if (length == 0 || length > kLargestReport) return false;
    return library_.GetFeature(report, static_cast<int>(length));
}

}  // namespace brenik::device
