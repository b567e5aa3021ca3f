// The protocol trace (exact command sequences, hex, timestamps) and the state dump.

#include "model_test_support.h"

#include "keyboard_device_constants.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brenik::vkb::test {
namespace {

using namespace brenik::device;

class TraceTest : public ModelTest {};

TEST_F(TraceTest, EveryReportGetsOneDecodedLine) {
    struct Case {
        Bytes report;
        bool write;
        const char* line;
    };
    Bytes macro = MacroReport(2, 5, {{4, 1, 0}, {4, 2, 0}});
    Bytes volume = {18, 8, 1, 0, 0, 0, 3, 42};
    const Case cases[] = {
        {{4, 1, 0x60}, true, "SET select profile=1 selector=0x60 key-functions-0-11"},     // 0
        {{4, 0, 0}, false, "GET status=1"},                                                  // 1
        {Report(8, 48), false, "GET key-functions-0-11 profile=1"},                         // 2
        {{4, 3, 0x40}, true, "SET select profile=3 selector=0x40 standard-keys"},          // 3
        {{4, 0, 7}, true, "SET select profile=0 selector=0x07 macro key=7"},               // 4
        {{4, 4, 212}, true, "SET select profile=4 selector=0xD4 launch key=3"},            // 5
        {Report(74, 40), false, "GET launch profile=4 key=3"},                              // 6
        {{5, 3, 2}, true, "SET current-profile profile=2"},                                 // 7
        {{7, 4, 1, 0x05}, true, "SET locked-keys profile=1 flags=0x05"},                    // 8
        {{12, 3, 12}, true, "SET whole-keyboard"},                                           // 9
        {{16, 3, 1}, true, "SET host-state value=1"},                                        // 10
        {volume, true, "SET volume profile=1 level=3 volume=42"},                            // 11
        {macro, true, "SET macro profile=2 key=5 actions=2"},                                // 12
        {Report(14, 8), false, "GET device-info firmware=21 dfu=3 value=1 extended=0"},     // 13
        {{5, 3, 9}, true, "SET current-profile profile=9 -> status 2: profile out of range"},  // 14
        {UpdateCommand(kDfuStart), true, "SET DFU_START"},                                   // 15
        {{kUpdateStatusReportId, 0, 0}, false, "GET update-status=1"},                       // 16
        {SizeCommand(1025), true, "SET DFU_SIZE size=1025"},                                 // 17
        {UpdateCommand(kDfuPrepare), true, "SET DFU_PREPARE"},                               // 18
        {BlockHeader(1, 0x0102), true, "SET DFU_BLOCK_HEADER block=1 sum=0x0102 -> status 2: block out of order"},  // 19
        {{0x63, 1, 2}, true, "SET report-0x63 length=3 refused: unknown report id"},         // 20
        {{5, 3}, false, "GET current-profile length=2 refused: wrong length 2, expects 3"},  // 21
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        keyboard_.ClearTrace();
        Bytes report = cases[i].report;
        if (cases[i].write) {
            keyboard_.SetFeature(report.data(), report.size());
        } else {
            keyboard_.GetFeature(report.data(), report.size());
        }
        ASSERT_EQ(keyboard_.Trace().Lines().size(), 1u) << "row " << i;
        EXPECT_EQ(keyboard_.Trace().Lines()[0], cases[i].line) << "row " << i;
    }
}

TEST_F(TraceTest, BlockDataLinesNameTheirBlock) {
    ASSERT_TRUE(Write(UpdateCommand(kDfuStart)));
    ASSERT_TRUE(Write(SizeCommand(2048)));
    ASSERT_TRUE(Write(UpdateCommand(kDfuPrepare)));
    const Bytes block(1024, 1);
    for (std::uint16_t k = 0; k < 2; ++k) {
        ASSERT_TRUE(Write(BlockHeader(k, 1024)));
        ASSERT_TRUE(Write(BlockData(block.data())));
    }
    ASSERT_TRUE(Write(BlockData(block.data())));
    const std::vector<std::string> lines = keyboard_.Trace().Lines();
    const std::vector<std::string> expected = {
        "SET DFU_START",
        "SET DFU_SIZE size=2048",
        "SET DFU_PREPARE",
        "SET DFU_BLOCK_HEADER block=0 sum=0x0400",
        "SET DFU_BLOCK_DATA block=0",
        "SET DFU_BLOCK_HEADER block=1 sum=0x0400",
        "SET DFU_BLOCK_DATA block=1",
        "SET DFU_BLOCK_DATA -> status 2: DFU_BLOCK_DATA without its header",
    };
    EXPECT_EQ(lines, expected);
}

TEST_F(TraceTest, TextHasTimestampsAndTheBytesInHex) {
    now_ = 2000250;
    ASSERT_TRUE(Write({4, 0, 0x50}));
    now_ = 2100400;
    ASSERT_EQ(Read(4, 3), (Bytes{4, 1, 0}));
    EXPECT_EQ(keyboard_.Trace().Text(),
              "2.000250 SET select profile=0 selector=0x50 locked-keys\n"
              "    04 00 50\n"
              "2.100400 GET status=1\n"
              "    04 01 00\n");
    ASSERT_EQ(keyboard_.Trace().Entries().size(), 2u);
    EXPECT_TRUE(keyboard_.Trace().Entries()[0].fromHost);
    EXPECT_FALSE(keyboard_.Trace().Entries()[1].fromHost);
}

TEST_F(TraceTest, HostNotesStandBetweenTheReports) {
    now_ = 1000000;
    ASSERT_TRUE(Write({16, 3, 0}));
    now_ = 1000500;
    keyboard_.NoteHost("HOST close-device");
    EXPECT_EQ(keyboard_.Trace().Lines(), (std::vector<std::string>{"SET host-state value=0", "HOST close-device"}));
    EXPECT_EQ(keyboard_.Trace().Entries()[1].timeMicroseconds, 1000500u);
    EXPECT_TRUE(keyboard_.Trace().Entries()[1].bytes.empty());
}

TEST_F(TraceTest, RefusedReportKeepsItsBytesOnlyWhenItsLengthIsRight) {
    EXPECT_FALSE(Write(Report(5, 5000)));
    EXPECT_EQ(keyboard_.Trace().Entries().back().bytes, (Bytes{5}));
    keyboard_.RefuseSends(1);
    EXPECT_FALSE(Write({5, 3, 2}));
    EXPECT_EQ(keyboard_.Trace().Entries().back().bytes, (Bytes{5, 3, 2}));
    EXPECT_EQ(keyboard_.Trace().Entries().back().line, "SET current-profile length=3 refused: send refused (injected)");
}

TEST_F(TraceTest, OldestEntriesGoBeyondTheLimit) {
    for (std::size_t i = 0; i < ProtocolTrace::kMaxEntries + 5; ++i) PollStatus();
    EXPECT_EQ(keyboard_.Trace().Entries().size(), ProtocolTrace::kMaxEntries);
    EXPECT_EQ(keyboard_.Trace().DroppedCount(), 5u);
}

class StateJsonTest : public ModelTest {};

TEST_F(StateJsonTest, ShowsWhatTheKeyboardHolds) {
    ASSERT_TRUE(keyboard_.PressProfileKey(3));
    ASSERT_TRUE(keyboard_.RecordMacro(2, {{0x04, 1, 0x0102}}, "Say \"hi\""));
    ASSERT_TRUE(Write({7, 4, 4, 0x12}));
    keyboard_.RefuseReads(3);
    const std::string json = keyboard_.StateJson();
    const char* fragments[] = {
        "\"plugged\": true",                         // 0
        "\"currentProfile\": 2",                     // 1
        "\"macroName\": \"Say \\\"hi\\\"\"",         // 2 quotes escaped
        "\"actions\": \"04010201\"",                 // 3
        "\"key\": 1",                                // 4
        "\"lockedKeys\": 18",                        // 5
        "\"refuseReads\": 3",                        // 6
        "\"syncToken\": \"00000000000000000000000000000000\"",  // 7
        "\"pendingNotices\": 4",                     // 8 profile key and three recording steps
    };
    for (std::size_t i = 0; i < std::size(fragments); ++i) {
        EXPECT_NE(json.find(fragments[i]), std::string::npos) << "row " << i << ": " << fragments[i] << "\n" << json;
    }
    int depth = 0;
    for (char c : json) {
        if (c == '{' || c == '[') ++depth;
        if (c == '}' || c == ']') --depth;
        ASSERT_GE(depth, 0);
    }
    EXPECT_EQ(depth, 0);
}

}  // namespace
}  // namespace brenik::vkb::test
