#include "macro_recorder.h"

#include "macro_grammar.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brenik::option {
namespace {

// Scan codes of set 1.
constexpr std::uint16_t kScanA = 0x1E;
constexpr std::uint16_t kScanB = 0x30;
constexpr std::uint16_t kScanEnter = 0x1C;
constexpr std::uint16_t kScanLeftShift = 0x2A;
constexpr std::uint16_t kScanLeftCtrl = 0x1D;

RecordedKey Down(std::uint32_t timeMs, std::uint16_t scanCode, bool extended = false) {
    return {timeMs, 0, scanCode, extended, true};
}
RecordedKey Up(std::uint32_t timeMs, std::uint16_t scanCode, bool extended = false) {
    return {timeMs, 0, scanCode, extended, false};
}

std::string Text(const std::vector<MacroAction>& actions) {
    return editing::FormatMacroActions(actions.data(), actions.size());
}

TEST(UsageOfKey, ScanCodeFirstThenVirtualKey) {
    struct Row {
        std::uint16_t virtualKey;
        std::uint16_t scanCode;
        bool extended;
        std::optional<std::uint8_t> usage;
    };
    const Row rows[] = {
        {0, 0x1D, false, 0xE0},  // Left Ctrl
        {0, 0x1D, true, 0xE4},   // Right Ctrl
        {0, 0x48, true, 0x52},   // Up
        {0, 0x48, false, 0x60},  // Num 8
        {0, 0x35, true, 0x54},   // Num /
        {0, 0x35, false, 0x38},  // slash
        {0, 0x1C, true, 0x58},   // Num Enter
        {0, 0x1C, false, 0x28},  // Enter
        {0, 0x45, true, 0x53},   // Num Lock
        {0x13, 0x45, false, 0x48},  // Pause
        {0, 0x37, true, 0x46},   // Print Screen
        {0, 0x5B, true, 0xE3},   // Left Win
        {0, 0x36, false, 0xE5},  // Right Shift
        {0, 0x56, false, 0x64},  // Non-US backslash
        {0, 0x73, false, 0x87},  // Ro
        {0, 0x7D, false, 0x89},  // Yen
        {0, 0x58, false, 0x45},  // F12
        {0, 0x30, true, 0x80},   // Volume Up
        {0x51, 0x1E, false, 0x04},  // 'Q' on a French layout is the key of A
        {0, 0x55, false, std::nullopt},
        {0x41, 0x7F, true, std::nullopt},  // a scan code we do not know is not guessed from the VK
        // No scan code (made by a program): the virtual-key code.
        {0x41, 0, false, 0x04},
        {0x5A, 0, false, 0x1D},
        {0x31, 0, false, 0x1E},
        {0x30, 0, false, 0x27},
        {0x0D, 0, false, 0x28},
        {0x0D, 0, true, 0x58},
        {0x10, 0, false, 0xE1},
        {0xA0, 0, false, 0xE1},
        {0xA1, 0, false, 0xE5},
        {0x11, 0, true, 0xE4},
        {0xA5, 0, false, 0xE6},
        {0x70, 0, false, 0x3A},
        {0x7B, 0, false, 0x45},
        {0x7C, 0, false, 0x68},
        {0x87, 0, false, 0x73},
        {0x60, 0, false, 0x62},
        {0x69, 0, false, 0x61},
        {0x26, 0, false, 0x52},
        {0xBA, 0, false, 0x33},
        {0xE2, 0, false, 0x64},
        {0xAD, 0, false, 0x7F},
        {0x01, 0, false, std::nullopt},  // a mouse button
        {0xFF, 0, false, std::nullopt},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(UsageOfKey(row.virtualKey, row.scanCode, row.extended), row.usage)
            << std::hex << row.virtualKey << " " << row.scanCode << " " << row.extended;
    }
}

TEST(MacroRecorder, StreamsOfKeysBecomeActions) {
    struct Row {
        const char* what;
        DelayMode mode;
        std::vector<RecordedKey> keys;
        std::string actions;
        bool clipped;
    };
    const Row rows[] = {
        {"delay is the time to the next action; the last has none",
         DelayMode::kAsPressed,
         {Down(1000, kScanA), Up(1050, kScanA), Down(1100, kScanB), Up(1300, kScanB)},
         "+A 50, -A 50, +B 200, -B",
         false},
        {"fixed delay between every two actions",
         DelayMode::kFixed,
         {Down(1000, kScanA), Up(1050, kScanA), Down(9000, kScanB), Up(9001, kScanB)},
         "+A 30, -A 30, +B 30, -B",
         false},
        {"a held key's repeats are one press",
         DelayMode::kAsPressed,
         {Down(0, kScanA), Down(500, kScanA), Down(530, kScanA), Up(560, kScanA)},
         "+A 560, -A",
         false},
        {"the release of the Enter that started recording is not an action",
         DelayMode::kAsPressed,
         {Up(5, kScanEnter), Down(40, kScanA), Up(60, kScanA)},
         "+A 20, -A",
         false},
        {"keys with no usage are left out",
         DelayMode::kAsPressed,
         {Down(0, kScanA), Down(10, 0x55), Up(20, 0x55), Up(30, kScanA)},
         "+A 30, -A",
         false},
        {"the message clock wraps",
         DelayMode::kAsPressed,
         {Down(0xFFFFFFF0u, kScanA), Up(0x10, kScanA)},
         "+A 32, -A",
         false},
        {"a pause longer than 65535 ms is cut",
         DelayMode::kAsPressed,
         {Down(0, kScanA), Up(70000, kScanA), Down(70010, kScanB), Up(70020, kScanB)},
         "+A 65535, -A 10, +B 10, -B",
         true},
        {"left and right Ctrl are two keys",
         DelayMode::kAsPressed,
         {Down(0, kScanLeftCtrl), Down(5, kScanLeftCtrl, true), Up(6, kScanLeftCtrl), Up(8, kScanLeftCtrl, true)},
         "+LCtrl 5, +RCtrl 1, -LCtrl 2, -RCtrl",
         false},
    };
    for (const Row& row : rows) {
        MacroRecorder recorder(row.mode, 30);
        for (const RecordedKey& key : row.keys) recorder.Add(key);
        EXPECT_EQ(Text(recorder.Actions()), row.actions) << row.what;
        EXPECT_EQ(recorder.Clipped(), row.clipped) << row.what;
        EXPECT_FALSE(recorder.Full()) << row.what;
    }
}

TEST(MacroRecorder, AddSaysWhetherTheKeyWasTaken) {
    MacroRecorder recorder;
    EXPECT_FALSE(recorder.Add(Up(0, kScanA)));
    EXPECT_TRUE(recorder.Add(Down(1, kScanA)));
    EXPECT_FALSE(recorder.Add(Down(2, kScanA)));
    EXPECT_FALSE(recorder.Add(Down(3, 0x55)));
    EXPECT_TRUE(recorder.Add(Up(4, kScanA)));
    EXPECT_FALSE(recorder.Add(Up(5, kScanA)));
    EXPECT_EQ(recorder.Actions().size(), 2u);
}

TEST(MacroRecorder, StoppingReleasesHeldKeysLastPressedFirst) {
    for (const DelayMode mode : {DelayMode::kAsPressed, DelayMode::kFixed}) {
        MacroRecorder recorder(mode, 30);
        recorder.Add(Down(100, kScanLeftShift));
        recorder.Add(Down(120, kScanA));
        recorder.Add(Down(140, kScanB));
        recorder.Add(Up(150, kScanB));
        recorder.ReleaseHeld();
        const char* expected = mode == DelayMode::kAsPressed ? "+LShift 20, +A 20, +B 10, -B, -A, -LShift"
                                                             : "+LShift 30, +A 30, +B 30, -B 30, -A 30, -LShift";
        EXPECT_EQ(Text(recorder.Actions()), expected);
        recorder.ReleaseHeld();
        EXPECT_EQ(recorder.Actions().size(), 6u);
        // Held no more: a later release is not an action.
        EXPECT_FALSE(recorder.Add(Up(200, kScanA)));
    }
    MacroRecorder empty;
    empty.ReleaseHeld();
    EXPECT_TRUE(empty.Actions().empty());
}

TEST(MacroRecorder, FullAtTheRecordsRoomYetEveryHeldKeyCanBeLetGo) {
    MacroRecorder pairs;
    for (std::uint32_t n = 0; n < 200; ++n) {
        ASSERT_TRUE(pairs.Add(Down(n * 10, kScanA)));
        ASSERT_TRUE(pairs.Add(Up(n * 10 + 5, kScanA)));
    }
    EXPECT_EQ(pairs.Actions().size(), 400u);
    EXPECT_TRUE(pairs.Full());
    EXPECT_FALSE(pairs.Add(Down(5000, kScanB)));
    EXPECT_EQ(pairs.Actions().size(), 400u);

    MacroRecorder chord;
    for (std::uint32_t n = 0; n < 198; ++n) {
        chord.Add(Down(n * 10, kScanA));
        chord.Add(Up(n * 10 + 5, kScanA));
    }
    EXPECT_TRUE(chord.Add(Down(3000, kScanLeftShift)));
    EXPECT_TRUE(chord.Add(Down(3010, kScanA)));
    EXPECT_TRUE(chord.Full());
    EXPECT_FALSE(chord.Add(Down(3020, kScanB)));  // no room left to let it go again
    EXPECT_TRUE(chord.Add(Up(3030, kScanA)));      // a held key's release is always taken
    chord.ReleaseHeld();
    ASSERT_EQ(chord.Actions().size(), 400u);
    EXPECT_EQ(chord.Actions().back().KeyCode, 0xE1);
    EXPECT_EQ(chord.Actions().back().EventType, 2);
}

}  // namespace
}  // namespace brenik::option
