#include "osd_placement.h"

#include "config_ini_keys.h"

#include <algorithm>

namespace brenik::osd {
namespace {

bool MeansDefault(std::uint16_t value) { return value == 0 || value == kUnsetValue; }

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
    const DisplayParams params = UnpackDisplayParams(lParam);
    return PlacementFromValues(params.first, params.second);
}

Placement LoadPlacement(const ini::CIniFile& config) {
    OsdSettings settings{};
    if (!config.ReadStruct(kOsdSettingsSection, kOsdSettingsKey, &settings, sizeof settings)) return Placement{};
    // The stored record means what the monitor would pass on from it.
    return DecodePlacementMessage(PackedDisplayParams(settings));
}

}  // namespace brenik::osd
