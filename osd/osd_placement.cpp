#include "osd_placement.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace brenik::osd {
namespace {

bool MeansDefault(std::uint16_t value) { return value == 0 || value == kUnsetValue; }

std::int32_t FieldAt(const std::array<std::uint8_t, kOsdSettingsBytes>& record, std::size_t offset) {
    std::int32_t value = 0;
    std::memcpy(&value, record.data() + offset, sizeof value);  // little-endian, as the record is stored
    return value;
}

}  // namespace

Placement PlacementFromValues(std::uint16_t durationTenths, std::uint16_t bottomDistance) {
    Placement placement;
    if (!MeansDefault(durationTenths)) {
        placement.durationMs = std::clamp<unsigned>(durationTenths, kMinDurationTenths, kMaxDurationTenths) * 100;
    }
    if (!MeansDefault(bottomDistance)) placement.bottomDistance = bottomDistance;
    return placement;
}

Placement DecodePlacementMessage(std::uint32_t lParam) {
    return PlacementFromValues(static_cast<std::uint16_t>(lParam >> 16), static_cast<std::uint16_t>(lParam & 0xFFFF));
}

Placement LoadPlacement(const CIniFile& config) {
    std::array<std::uint8_t, kOsdSettingsBytes> record{};
    if (!config.ReadStruct(kOsdSettingsSection, kOsdSettingsKey, record.data(), record.size())) return Placement{};
    return PlacementFromValues(static_cast<std::uint16_t>(FieldAt(record, kDurationFieldOffset) & 0xFFFF),
                               static_cast<std::uint16_t>(FieldAt(record, kBottomDistanceFieldOffset) & 0xFFFF));
}

}  // namespace brenik::osd
