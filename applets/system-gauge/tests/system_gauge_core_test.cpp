// The gauge's core: the two readings from the system's counters, what the settings ask to be
// shown, the words and where the panel sits.

#include "cpu_usage.h"
#include "gauge_layout.h"
#include "gauge_settings.h"
#include "memory_usage.h"

#include "config_ini_keys.h"
#include "ini_file.h"
#include "memory_ini_storage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace brenik::sysgauge {
namespace {

constexpr std::uint64_t kSecondOnFourCores = 4 * 10'000'000ull;  // 100 ns units

struct CpuRow {
    const char* what;
    SystemTimes earlier;
    SystemTimes later;
    std::optional<unsigned> percent;
};

TEST(CpuPercent, FromTwoReadingsOfTheSystemsCounters) {
    const SystemTimes start{1'000, 5'000, 7'000};
    const CpuRow rows[] = {
        {"all idle: the kernel time is the idle time", start, {1'000 + kSecondOnFourCores, 5'000 + kSecondOnFourCores, 7'000}, 0u},
        {"all busy in user mode", start, {1'000, 5'000, 7'000 + kSecondOnFourCores}, 100u},
        {"all busy in kernel mode", start, {1'000, 5'000 + kSecondOnFourCores, 7'000}, 100u},
        {"a quarter busy, split", start, {1'000 + 30'000'000, 5'000 + 35'000'000, 7'000 + 5'000'000}, 25u},
        {"rounded to the nearest: 2 of 3", {0, 0, 0}, {1, 1, 2}, 67u},
        {"rounded to the nearest: 1 of 3", {0, 0, 0}, {2, 2, 1}, 33u},
        {"half rounds up", {0, 0, 0}, {1, 1, 1}, 50u},
        {"no time passed", start, start, std::nullopt},
        {"idle went backwards", start, {999, 5'000 + 100, 7'000 + 100}, std::nullopt},
        {"kernel went backwards", start, {1'000, 4'999, 7'100}, std::nullopt},
        {"user went backwards (a wrap)", {0, 0, UINT64_MAX - 5}, {10, 10, 4}, std::nullopt},
        {"idle beyond the kernel's share reads as idle", start, {1'000 + 500, 5'000 + 100, 7'000 + 100}, 0u},
        {"counters near the top of their range", {UINT64_MAX - 4'000, UINT64_MAX / 2, 0},
         {UINT64_MAX - 1'000, UINT64_MAX / 2 + 3'000, 1'000}, 25u},
        {"an interval too long for plain arithmetic", {0, 0, 0}, {UINT64_MAX / 4, UINT64_MAX / 4, UINT64_MAX / 4}, 50u},
    };
    for (const CpuRow& row : rows) {
        EXPECT_EQ(CpuPercent(row.earlier, row.later), row.percent) << row.what;
    }
}

struct MemoryRow {
    const char* what;
    std::uint64_t total;
    std::uint64_t available;
    std::optional<unsigned> percent;
};

TEST(MemoryPercent, FromTotalAndAvailable) {
    constexpr std::uint64_t kGiB = 1ull << 30;
    const MemoryRow rows[] = {
        {"61 % of 16 GiB", 16 * kGiB, 16 * kGiB * 39 / 100, 61u},
        {"nothing available", 8 * kGiB, 0, 100u},
        {"everything available", 8 * kGiB, 8 * kGiB, 0u},
        {"more available than there is", 8 * kGiB, 9 * kGiB, 0u},
        {"no total", 0, 0, std::nullopt},
        {"rounded to the nearest", 3 * kGiB, kGiB, 67u},
        {"a total below a KiB", 400, 100, 75u},
        {"a terabyte machine", 1024 * kGiB, 256 * kGiB, 75u},
        {"the largest total", UINT64_MAX, UINT64_MAX / 2, 50u},
    };
    for (const MemoryRow& row : rows) {
        EXPECT_EQ(MemoryPercent(row.total, row.available), row.percent) << row.what;
    }
}

struct SettingsRow {
    const char* what;
    std::int32_t cpu;
    std::int32_t ram;
    std::vector<std::string> lines;  // as shown at 23 % and 61 %
};

TEST(GaugeLines, TheSwitchesChooseTheLinesAndOnlyOneIsOn) {
    const SettingsRow rows[] = {
        {"processor only", 1, 0, {"CPU 23 %"}},
        {"memory only", 0, 1, {"RAM 61 %"}},
        {"both, processor first", 1, 1, {"CPU 23 %", "RAM 61 %"}},
        {"neither", 0, 0, {}},
        {"-1 is off", -1, 1, {"RAM 61 %"}},
        {"2 is off", 1, 2, {"CPU 23 %"}},
    };
    for (const SettingsRow& row : rows) {
        OsdSettings record{};
        record.GaugeCpu = row.cpu;
        record.GaugeRam = row.ram;
        const GaugeSettings settings = GaugeSettingsFrom(record);
        EXPECT_EQ(settings.AnyShown(), !row.lines.empty()) << row.what;
        std::vector<std::string> texts;
        for (const GaugeLine& line : GaugeLines(settings, 23u, 61u)) texts.push_back(line.text);
        EXPECT_EQ(texts, row.lines) << row.what;
    }
}

TEST(GaugeLines, WordsOfEveryReading) {
    EXPECT_EQ(ReadingText(Reading::kCpu, 0u), "CPU 0 %");
    EXPECT_EQ(ReadingText(Reading::kCpu, 100u), "CPU 100 %");
    EXPECT_EQ(ReadingText(Reading::kRam, 7u), "RAM 7 %");
    EXPECT_EQ(ReadingText(Reading::kCpu, std::nullopt), "CPU -- %");
    const std::vector<GaugeLine> lines = GaugeLines({true, true}, std::nullopt, 40u);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].reading, Reading::kCpu);
    EXPECT_EQ(lines[0].text, "CPU -- %");
    EXPECT_EQ(lines[1].reading, Reading::kRam);
}

TEST(LoadGaugeSettings, ReadsTheStoredRecordAndNothingWhenThereIsNone) {
    ini::test::MemoryIniStorage storage;
    const std::string path = "C:\\B\\config.ini";
    EXPECT_FALSE(LoadGaugeSettings(ini::CIniFile(path, storage)).AnyShown()) << "no record";

    OsdSettings record{};
    record.GaugeRam = 1;
    ASSERT_TRUE(ini::CIniFile(path, storage).WriteStruct(kOsdSettingsSection, kOsdSettingsKey, &record, sizeof record));
    EXPECT_EQ(LoadGaugeSettings(ini::CIniFile(path, storage)), (GaugeSettings{false, true}));

    // A record whose checksum does not match is no record.
    std::string& text = storage.files.at(path);
    const std::size_t value = text.find("config=") + 7;
    ASSERT_LT(value, text.size());
    text[value] = text[value] == '0' ? '1' : '0';
    EXPECT_FALSE(LoadGaugeSettings(ini::CIniFile(path, storage)).AnyShown()) << "damaged record";
}

TEST(MonitorFolderOf, TheFolderAboveTheGauges) {
    const std::pair<const char*, const char*> rows[] = {
        {"C:\\Program Files\\Brenik\\Applets\\", "C:\\Program Files\\Brenik\\"},
        {"C:\\Brenik\\Applets", "C:\\Brenik\\"},
        {"\\\\server\\share\\Brenik\\Applets\\", "\\\\server\\share\\Brenik\\"},
        {"C:\\Applets\\", "C:\\"},
        {"C:\\", ""},
        {"", ""},
    };
    for (const auto& [folder, above] : rows) {
        EXPECT_EQ(MonitorFolderOf(folder), above) << folder;
    }
}

struct LayoutRow {
    const char* what;
    Rect workArea;
    std::size_t lines;
    Rect panel;
};

TEST(LayoutGauge, TopRightOfTheWorkAreaAndAlwaysOnIt) {
    const int oneLine = 2 * kPanelPadding + kLineHeight;
    const int twoLines = oneLine + kLineHeight;
    const int right = 1920 - kScreenMargin;
    const LayoutRow rows[] = {
        {"one line", {0, 0, 1920, 1040}, 1, {right - kPanelWidth, kScreenMargin, right, kScreenMargin + oneLine}},
        {"two lines", {0, 0, 1920, 1040}, 2, {right - kPanelWidth, kScreenMargin, right, kScreenMargin + twoLines}},
        {"task bar at the top", {0, 40, 1920, 1080}, 1,
         {right - kPanelWidth, 40 + kScreenMargin, right, 40 + kScreenMargin + oneLine}},
        {"primary screen right of another", {-1280, 0, 640, 480}, 1,
         {640 - kScreenMargin - kPanelWidth, kScreenMargin, 640 - kScreenMargin, kScreenMargin + oneLine}},
        {"too narrow: at the left edge", {0, 0, 100, 480}, 1, {0, kScreenMargin, kPanelWidth, kScreenMargin + oneLine}},
        {"too low: at the top edge", {0, 0, 640, 50}, 2, {640 - kScreenMargin - kPanelWidth, 0, 640 - kScreenMargin, twoLines}},
    };
    for (const LayoutRow& row : rows) {
        const GaugeLayout layout = LayoutGauge(row.workArea, row.lines);
        EXPECT_EQ(layout.panel, row.panel) << row.what;
        ASSERT_EQ(layout.lines.size(), row.lines) << row.what;
        for (std::size_t index = 0; index < row.lines; ++index) {
            const Rect& line = layout.lines[index];
            EXPECT_EQ(line.top, kPanelPadding + static_cast<int>(index) * kLineHeight) << row.what;
            EXPECT_EQ(line.Height(), kLineHeight) << row.what;
            EXPECT_LE(line.right, layout.panel.Width() - kPanelPadding) << row.what;
            EXPECT_LE(line.bottom, layout.panel.Height() - kPanelPadding) << row.what;
        }
    }
}

}  // namespace
}  // namespace brenik::sysgauge
