#include "control_command.h"

#include "debug_capture.h"

#include <gtest/gtest.h>

#include <string>

namespace brenik::vkb {
namespace {

class ControlCommandTest : public ::testing::Test {
protected:
    ControlResult Run(const std::string& line) { return RunControlCommand(keyboard, SplitWords(line)); }

    // Key events the keyboard queued, as "class/sub-code" in hex.
    std::vector<std::string> Notices() {
        std::vector<std::string> seen;
        HostNotice notice;
        while (keyboard.PopNotice(notice)) {
            char text[32];
            if (notice.kind == HostNotice::Kind::kKeyEvent) {
                std::snprintf(text, sizeof text, "%04X/%04X", notice.eventClass, notice.subCode);
            } else {
                std::snprintf(text, sizeof text, notice.kind == HostNotice::Kind::kArrived ? "arrived" : "removed");
            }
            seen.push_back(text);
        }
        return seen;
    }

    std::uint64_t now = 0;
    VirtualKeyboard keyboard{[this] { return now; }};
};

TEST_F(ControlCommandTest, SplitsOnBlanksAndIgnoresRuns) {
    EXPECT_EQ(SplitWords("  fault\tbusy   forever "), (std::vector<std::string>{"fault", "busy", "forever"}));
    EXPECT_TRUE(SplitWords(" \t ").empty());
}

TEST_F(ControlCommandTest, ParsesDecimalAndHexWithinRange) {
    struct Row {
        const char* text;
        long low, high;
        bool ok;
        long value;
    };
    const Row rows[] = {
        {"3", 1, 5, true, 3},       {"0x27", 0, 255, true, 0x27}, {"0X1f", 0, 255, true, 31},
        {"6", 1, 5, false, 0},      {"-1", 0, 5, false, 0},       {"3a", 0, 99, false, 0},
        {"0x", 0, 99, false, 0},    {"", 0, 99, false, 0},        {"99999999999", 0, 1000000, false, 0},
        {"0xFFFF", 0, 0xFFFF, true, 0xFFFF},
    };
    for (std::size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        long value = -7;
        EXPECT_EQ(ParseNumber(rows[i].text, rows[i].low, rows[i].high, value), rows[i].ok) << "row " << i;
        EXPECT_EQ(value, rows[i].ok ? rows[i].value : -7) << "row " << i;
    }
}

TEST_F(ControlCommandTest, UserActionsChangeTheKeyboardAndQueueTheirEvents) {
    Notices();
    struct Row {
        const char* line;
        std::vector<std::string> events;
    };
    const std::vector<Row> rows = {
        {"profile 3", {"3000/0003"}},
        {"layer extended", {"E000/0001"}},
        {"lighting 7", {"D000/0007"}},
        {"winlock 2 on", {"F000/02FF"}},
        {"volume 50", {"A000/0032"}},
        {"media 0x22", {"7000/0022"}},
        {"launch 9", {"6000/0009"}},
        {"play-macro 4", {"4000/0004"}},
        {"countdown 2", {"B000/0200"}},
        {"countdown stop", {"C000/0100"}},
        {"event 0x1234 0x5678", {"1234/5678"}},
        {"record-macro 5 4 5", {"5000/0100", "5000/0205", "5000/0305"}},
        {"abort-macro 6", {"5000/0100", "5000/0206", "5000/0406"}},
        {"unplug", {"removed"}},
        {"plug", {"arrived"}},
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const ControlResult result = Run(rows[i].line);
        EXPECT_TRUE(result.ok) << "row " << i << ": " << result.text;
        EXPECT_EQ(Notices(), rows[i].events) << "row " << i << ": " << rows[i].line;
    }
    EXPECT_EQ(keyboard.CurrentProfile(), 2);
    EXPECT_EQ(keyboard.Volume(), 50);
    EXPECT_EQ(keyboard.LockedKeys(1) & 0x08, 0x08);
}

TEST_F(ControlCommandTest, LayerWithoutArgumentToggles) {
    const bool before = keyboard.ExtendedLayer();
    ASSERT_TRUE(Run("layer").ok);
    EXPECT_NE(keyboard.ExtendedLayer(), before);
    ASSERT_TRUE(Run("layer").ok);
    EXPECT_EQ(keyboard.ExtendedLayer(), before);
}

TEST_F(ControlCommandTest, RefusedCommandsSayWhyAndChangeNothing) {
    Notices();
    struct Row {
        const char* line;
        const char* fragment;
    };
    const Row rows[] = {
        {"", "no command"},
        {"profile 6", "expected a number from 1 to 5, not \"6\""},
        {"profile", "expected 1 argument"},
        {"profile 1 2", "expected 1 argument"},
        {"record-macro 45", "from 1 to 44"},
        {"record-macro 3 256", "from 1 to 255"},
        {"media 0x28", "from 32 to 39"},
        {"volume 101", "from 0 to 100"},
        {"winlock 2 maybe", "on or off"},
        {"layer sideways", "standard"},
        {"fault wobble 3", "unknown kind \"wobble\""},
        {"fault busy", "expected a kind and a count"},
        {"fault busy often", "not \"often\""},
        {"set colour 3", "firmware-version"},
        {"dance", "unknown command \"dance\""},
        {"dump now", "unknown command"},
    };
    for (std::size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        const ControlResult result = Run(rows[i].line);
        EXPECT_FALSE(result.ok) << "row " << i;
        EXPECT_NE(result.text.find(rows[i].fragment), std::string::npos) << "row " << i << ": " << result.text;
    }
    EXPECT_TRUE(Notices().empty());
    EXPECT_EQ(keyboard.CurrentProfile(), 0);
}

TEST_F(ControlCommandTest, EventsOfAnUnpluggedKeyboardAreRefused) {
    ASSERT_TRUE(Run("unplug").ok);
    Notices();
    const ControlResult result = Run("profile 2");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.text, "refused: the keyboard is unplugged");
    EXPECT_TRUE(Notices().empty());
}

TEST_F(ControlCommandTest, FaultsReachTheKeyboard) {
    ASSERT_TRUE(Run("fault refuse-send 1").ok);
    const std::uint8_t select[3] = {4, 0, 0x40};
    EXPECT_FALSE(keyboard.SetFeature(select, 3));
    EXPECT_TRUE(keyboard.SetFeature(select, 3)) << "only one send was to be refused";

    ASSERT_TRUE(Run("fault refuse-read forever").ok);
    std::uint8_t status[3] = {4, 0, 0};
    EXPECT_FALSE(keyboard.GetFeature(status, 3));
    EXPECT_FALSE(keyboard.GetFeature(status, 3));
    ASSERT_TRUE(Run("fault clear").ok);
    EXPECT_TRUE(keyboard.GetFeature(status, 3));
}

TEST_F(ControlCommandTest, StatusDumpTraceAndStop) {
    ASSERT_TRUE(Run("profile 2").ok);
    EXPECT_EQ(Run("status").text.find("plugged in, profile 2"), 0u) << Run("status").text;
    const ControlResult dump = Run("dump");
    ASSERT_TRUE(dump.ok);
    EXPECT_EQ(dump.text.front(), '{');

    const std::uint8_t select[3] = {4, 1, 0x40};
    ASSERT_TRUE(keyboard.SetFeature(select, 3));
    EXPECT_FALSE(Run("trace").text.empty());
    ASSERT_TRUE(Run("trace clear").ok);
    EXPECT_TRUE(keyboard.Trace().Entries().empty());

    const ControlResult stop = Run("stop");
    EXPECT_TRUE(stop.ok);
    EXPECT_TRUE(stop.stop);
    EXPECT_FALSE(Run("status").stop);
}

TEST_F(ControlCommandTest, ImageAnswersTheKeptImageBytes) {
    const ControlResult none = Run("image");
    EXPECT_TRUE(none.ok);
    EXPECT_TRUE(none.text.empty()) << "no update finished yet";
    EXPECT_FALSE(Run("image now").ok);
}

TEST_F(ControlCommandTest, SetWritesTheDeviceInformation) {
    ASSERT_TRUE(Run("set firmware-version 0x21").ok);
    ASSERT_TRUE(Run("set dfu-version 7").ok);
    std::uint8_t info[8] = {14};
    ASSERT_TRUE(keyboard.GetFeature(info, 8));
    EXPECT_EQ(info[2], 0x21);
    EXPECT_EQ(info[3], 7);
}

TEST_F(ControlCommandTest, FactoryResetForgetsWhatTheKeyboardStored) {
    VirtualKeyboard fresh{[this] { return now; }};
    ASSERT_TRUE(Run("profile 3").ok);
    ASSERT_TRUE(Run("winlock 2 on").ok);
    ASSERT_TRUE(Run("record-macro 4").ok);
    ASSERT_NE(keyboard.StateJson(), fresh.StateJson());
    ASSERT_TRUE(Run("factory-reset").ok);
    EXPECT_EQ(keyboard.CurrentProfile(), 0);
    EXPECT_EQ(keyboard.LockedKeys(1), fresh.LockedKeys(1));
    EXPECT_EQ(keyboard.SyncToken(), fresh.SyncToken());
    EXPECT_FALSE(Run("factory-reset now").ok);
}

}  // namespace
}  // namespace brenik::vkb
