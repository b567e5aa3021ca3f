// What the two values of message 1326 and of the stored display settings mean.

#include "osd_placement.h"

#include "debug_capture.h"
#include "memory_ini_storage.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

namespace brenik::osd {
namespace {

constexpr const char* kPath = "C:\\Brenik\\config.ini";

TEST(OsdPlacement, ZeroAndAllOnesMeanTheDefaults) {
    const Placement defaults{1500, 80};
    EXPECT_EQ(DecodePlacementMessage(0), defaults);
    EXPECT_EQ(DecodePlacementMessage(0xFFFFFFFFu), defaults);
    EXPECT_EQ(PlacementFromValues(0, 0xFFFF), defaults);
}

TEST(OsdPlacement, DurationIsInTenthsHeldToHalfASecondAndTenSeconds) {
    EXPECT_EQ(PlacementFromValues(30, 0).durationMs, 3000u);
    EXPECT_EQ(PlacementFromValues(1, 0).durationMs, 500u);
    EXPECT_EQ(PlacementFromValues(5, 0).durationMs, 500u);
    EXPECT_EQ(PlacementFromValues(100, 0).durationMs, 10000u);
    EXPECT_EQ(PlacementFromValues(0xFFFE, 0).durationMs, 10000u);
}

TEST(OsdPlacement, MessageCarriesDurationHighAndDistanceLow) {
    const Placement placement = DecodePlacementMessage((25u << 16) | 300u);
    EXPECT_EQ(placement.durationMs, 2500u);
    EXPECT_EQ(placement.bottomDistance, 300);
    // A large distance stays positive: the layout, not the decoder, holds it on the screen.
    EXPECT_EQ(DecodePlacementMessage(0x9000u).bottomDistance, 0x9000);
}

std::array<std::uint8_t, kOsdSettingsBytes> SettingsRecord(std::int32_t field28, std::int32_t field32) {
    std::array<std::uint8_t, kOsdSettingsBytes> record{};
    record[8] = 1;  // a switch the display does not read
    std::memcpy(record.data() + 28, &field28, sizeof field28);
    std::memcpy(record.data() + 32, &field32, sizeof field32);
    return record;
}

TEST(OsdPlacement, LoadsTheStoredValuesFromConfigIni) {
    ini::test::MemoryIniStorage storage;
    ini::CIniFile config(kPath, storage);
    const auto record = SettingsRecord(0x00070020, -1);  // only the low 16 bits count
    ASSERT_TRUE(config.WriteStruct("OSDSetting", "config", record.data(), record.size()));
    const Placement placement = LoadPlacement(config);
    EXPECT_EQ(placement.durationMs, 3200u);
    EXPECT_EQ(placement.bottomDistance, kDefaultBottomDistance);
}

TEST(OsdPlacement, MissingOrDamagedSettingsGiveTheDefaults) {
    ini::test::MemoryIniStorage storage;
    ini::CIniFile config(kPath, storage);
    EXPECT_EQ(LoadPlacement(config), Placement{});

    const auto record = SettingsRecord(40, 200);
    ASSERT_TRUE(config.WriteStruct("OSDSetting", "config", record.data(), record.size() - 4));  // too short
    test::ClearDebugLines();
    EXPECT_EQ(LoadPlacement(config), Placement{});
    EXPECT_TRUE(test::DebugLinesContain("refused [OSDSetting] config"));
}

}  // namespace
}  // namespace brenik::osd
