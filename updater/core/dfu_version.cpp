#include "dfu_version.h"

#include "keyboard_device_constants.h"

#include <array>

namespace brenik::updater {

using namespace device;

namespace {
constexpr std::size_t kInfoBufferBytes = 100;
constexpr unsigned kLowestVersion = 100;
constexpr unsigned kHighestVersion = 500;
}  // namespace

std::uint8_t ReadDfuVersion(hid::IFeatureReports& port) {
    std::array<std::uint8_t, kInfoBufferBytes> buffer{};
    buffer[0] = kDeviceInfoReportId;
    if (!port.GetFeature(buffer.data(), kDeviceInfoReportLength)) return 0;
    return buffer[3];
}

std::string VersionCaption(unsigned version) {
    if (version < kLowestVersion || version > kHighestVersion) return "N/A";
    std::string digits = std::to_string(version);
    digits.insert(1, ".");
    return digits;
}

}  // namespace brenik::updater
