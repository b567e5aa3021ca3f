// The monitor's reports as the keyboard answers them: layouts fixed by the protocol's own
// examples, the status handshake, select-then-read, and the stored settings.

#include "model_test_support.h"

#include "debug_capture.h"

#include <gtest/gtest.h>

#include <array>

namespace brenik::vkb::test {
namespace {

class MonitorReportsTest : public ModelTest {};

TEST_F(MonitorReportsTest, MacroChecksumExampleIsAcceptedAndProducedOnRead) {
    // Only bytes 0..4 set: 20, 0x8A, 0x06, profile 2, key 5; their sum 171 is 0xAB, 0x00.
    Bytes report = Report(20, 1674);
    report[1] = 0x8A;
    report[2] = 0x06;
    report[3] = 2;
    report[4] = 5;
    report[1672] = 0xAB;
    report[1673] = 0x00;
    ASSERT_TRUE(Write(report));
    EXPECT_EQ(PollStatus(), 1);

    const Bytes reply = SelectAndRead(2, 5, 20, 1674);
    ASSERT_EQ(reply.size(), 1674u);
    EXPECT_EQ(reply, report);
}

TEST_F(MonitorReportsTest, MacroWriteWithWrongChecksumFailsAndKeepsTheEntry) {
    ASSERT_TRUE(Write(MacroReport(1, 7, {{0x04, 1, 10}, {0x04, 2, 0}}, "Keep")));
    ASSERT_EQ(PollStatus(), 1);
    Bytes changed = MacroReport(1, 7, {{0x05, 1, 10}}, "Lose");
    changed[72] ^= 0x01;  // one action byte changed, checksum not updated
    brenik::test::ClearDebugLines();
    ASSERT_TRUE(Write(changed));  // the report arrived whole: refused by the firmware, not by the transport
    EXPECT_EQ(PollStatus(), kStatusFailed);
    EXPECT_TRUE(brenik::test::DebugLinesContain("macro checksum wrong"));

    const Bytes reply = SelectAndRead(1, 7, 20, 1674);
    ASSERT_FALSE(reply.empty());
    EXPECT_EQ(Le16At(reply, 70), 2);
    EXPECT_EQ(reply[72], 0x04);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&reply[38]), 4), "Keep");
    EXPECT_EQ(Le16At(reply, 1672), ChecksumOf(reply));
}

TEST_F(MonitorReportsTest, MacroWritesTheKeyboardRefuses) {
    struct Case {
        std::size_t byte;
        std::uint8_t value;
    };
    // Each row changes one byte of a valid macro report and fixes up its checksum.
    const Case cases[] = {
        {1, 0x8B},   // 0 length bytes not 1674
        {3, 5},      // 1 profile 5
        {4, 44},     // 2 key index 44
        {71, 0x02},  // 3 action count 0x0201 = 513, above 400
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        Bytes report = MacroReport(0, 3, {{0x04, 1, 0}});
        report[cases[i].byte] = cases[i].value;
        const std::uint16_t sum = ChecksumOf(report);
        report[1672] = static_cast<std::uint8_t>(sum & 0xFF);
        report[1673] = static_cast<std::uint8_t>(sum >> 8);
        ASSERT_TRUE(Write(report)) << "row " << i;
        EXPECT_EQ(PollStatus(), kStatusFailed) << "row " << i;
    }
    const Bytes reply = SelectAndRead(0, 3, 20, 1674);
    EXPECT_EQ(Le16At(reply, 70), 0) << "nothing was stored";
}

TEST_F(MonitorReportsTest, MacroReplyCarriesOnlyTheStoredActions) {
    Bytes report = MacroReport(4, 43, {{0x1E, 1, 300}, {0x1E, 2, 0}}, "Two");
    report[80] = 0x77;  // junk beyond the action count
    const std::uint16_t sum = ChecksumOf(report);
    report[1672] = static_cast<std::uint8_t>(sum & 0xFF);
    report[1673] = static_cast<std::uint8_t>(sum >> 8);
    ASSERT_TRUE(Write(report));
    ASSERT_EQ(PollStatus(), 1);

    const Bytes reply = SelectAndRead(4, 43, 20, 1674);
    ASSERT_FALSE(reply.empty());
    EXPECT_EQ(reply[4], 43);
    EXPECT_EQ(reply[72], 0x1E);
    EXPECT_EQ(Le16At(reply, 74), 300);
    EXPECT_EQ(reply[77], 2);
    EXPECT_EQ(reply[80], 0) << "actions beyond the count are not kept";
    EXPECT_EQ(reply[6], 0x20) << "names come back as they were sent, spaces included";
    EXPECT_EQ(Le16At(reply, 1672), ChecksumOf(reply));
}

TEST_F(MonitorReportsTest, FreshKeyboardAnswersTheDefaultKeyFunctionCodes) {
    struct Case {
        std::uint8_t id;
        std::size_t length;
        std::uint8_t selector;
        std::size_t recordOffset;
        int keys;
        std::uint8_t firstCode;
    };
    const Case cases[] = {
        {8, 48, 0x60, 12, 12, 58},  // 0 keys 0..11: 58..69
        {9, 40, 0x70, 10, 10, 30},  // 1 keys 12..21: 30..39
        {19, 18, 0xC0, 3, 5, 30},   // 2 keys 37..41: 30..34
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        const Bytes reply = SelectAndRead(3, c.selector, c.id, c.length);
        ASSERT_EQ(reply.size(), c.length) << "row " << i;
        EXPECT_EQ(reply[0], c.id) << "row " << i;
        EXPECT_EQ(reply[1], c.length) << "row " << i;
        EXPECT_EQ(reply[2], 3) << "row " << i;
        for (std::size_t b = 3; b < c.recordOffset; ++b) EXPECT_EQ(reply[b], 0) << "row " << i << " header byte " << b;
        for (int j = 0; j < c.keys; ++j) {
            const std::size_t at = c.recordOffset + 3 * static_cast<std::size_t>(j);
            EXPECT_EQ(reply[at], c.firstCode + j) << "row " << i << " record " << j;
            EXPECT_EQ(reply[at + 1], 0) << "row " << i << " record " << j;
            EXPECT_EQ(reply[at + 2], 0) << "row " << i << " record " << j;
        }
    }
}

TEST_F(MonitorReportsTest, KeyFunctionRecordsComeBackAsWritten) {
    // Key 5 a key combination (0xB8, modifier 0x05, key code 0x04), key 6 a macro key,
    // the others their default codes.
    Bytes report = Report(8, 48);
    report[1] = 48;
    report[2] = 1;
    for (int k = 0; k < 12; ++k) report[12 + 3 * static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(0x3A + k);
    report[12 + 15] = 0xB8;
    report[12 + 16] = 0x05;
    report[12 + 17] = 0x04;
    report[12 + 18] = 0xBE;
    ASSERT_TRUE(Write(report));
    ASSERT_EQ(PollStatus(), 1);
    EXPECT_EQ(SelectAndRead(1, 0x60, 8, 48), report);
    // Other profiles keep their own.
    EXPECT_EQ(SelectAndRead(0, 0x60, 8, 48)[12 + 15], 0x3F);
}

TEST_F(MonitorReportsTest, LightingKeepsTheBytesAsWrittenSoKeyLightTypeFourReadsAsZeros) {
    struct Case {
        int keyLightType;
        std::array<std::uint8_t, 6> flags;  // bytes 22..27 as the host sends them
    };
    const Case cases[] = {
        {1, {0, 1, 0, 0, 0, 0}},  // 0
        {2, {0, 0, 1, 0, 0, 0}},  // 1
        {3, {1, 0, 1, 0, 0, 0}},  // 2
        {4, {0, 0, 0, 0, 0, 0}},  // 3 six zeros: the host decodes this as 2
        {0, {1, 1, 1, 1, 1, 1}},  // 4
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        Bytes report = Report(11, 32);
        report[1] = 32;
        report[2] = 2;
        report[3] = 1;  // fixed markers
        report[4] = 2;
        report[5] = 1;
        report[6] = 10;
        report[9] = 3;
        report[14] = 2;
        report[21] = 2;
        for (std::size_t b = 0; b < 6; ++b) report[22 + b] = cases[i].flags[b];
        report[28] = 7;
        report[29] = 8;
        ASSERT_TRUE(Write(report)) << "row " << i;
        ASSERT_EQ(PollStatus(), 1) << "row " << i;
        EXPECT_EQ(SelectAndRead(2, 0x90, 11, 32), report) << "row " << i << " KeyLightType " << cases[i].keyLightType;
    }
}

TEST_F(MonitorReportsTest, StatusAnswersBusyTheConfiguredNumberOfTimesThenDone) {
    struct Case {
        int busyAnswers;
        std::vector<std::uint8_t> polls;
    };
    const Case cases[] = {
        {0, {1, 1}},           // 0
        {1, {3, 1, 1}},        // 1
        {3, {3, 3, 3, 1, 1}},  // 2
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        keyboard_.SetBusyAnswers(cases[i].busyAnswers);
        ASSERT_TRUE(Write({5, 3, 1})) << "row " << i;
        std::vector<std::uint8_t> polls;
        for (std::size_t p = 0; p < cases[i].polls.size(); ++p) polls.push_back(PollStatus());
        EXPECT_EQ(polls, cases[i].polls) << "row " << i;
    }
    // A failed command also answers busy first.
    keyboard_.SetBusyAnswers(2);
    ASSERT_TRUE(Write({5, 3, 9}));
    EXPECT_EQ(PollStatus(), 3);
    EXPECT_EQ(PollStatus(), 3);
    EXPECT_EQ(PollStatus(), kStatusFailed);
}

TEST_F(MonitorReportsTest, SelectDecidesWhatTheNextDataReadReturns) {
    EXPECT_TRUE(Read(6, 152).empty()) << "no select yet";
    ASSERT_TRUE(Write({4, 0, 0x50}));
    EXPECT_EQ(PollStatus(), 1);
    EXPECT_FALSE(Read(7, 4).empty());
    EXPECT_FALSE(Read(7, 4).empty()) << "the selection stays until the next select";
    EXPECT_TRUE(Read(11, 32).empty()) << "selected the locked keys, not the lighting";

    struct Case {
        std::uint8_t profile;
        std::uint8_t selector;
        std::uint8_t status;
    };
    const Case cases[] = {
        {4, 0x40, 1},             // 0
        {5, 0x40, kStatusFailed}, // 1 profile 5
        {0, 0x41, kStatusFailed}, // 2 unknown selector
        {0, 43, 1},               // 3 last macro entry
        {0, 44, kStatusFailed},   // 4
        {0, 208, kStatusFailed},  // 5
        {0, 209, 1},              // 6 first launch entry
        {0, 252, 1},              // 7 last launch entry
        {0, 253, kStatusFailed},  // 8
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        ASSERT_TRUE(Write({4, cases[i].profile, cases[i].selector})) << "row " << i;
        EXPECT_EQ(PollStatus(), cases[i].status) << "row " << i;
    }
    EXPECT_TRUE(Read(74, 40).empty()) << "a failed select leaves nothing selected";
}

TEST_F(MonitorReportsTest, CurrentProfileOnlyTakesProfilesZeroToFour) {
    ASSERT_TRUE(Write({5, 3, 4}));
    EXPECT_EQ(PollStatus(), 1);
    EXPECT_EQ(Read(5, 3), (Bytes{5, 3, 4}));
    ASSERT_TRUE(Write({5, 3, 7}));
    EXPECT_EQ(PollStatus(), kStatusFailed);
    ASSERT_TRUE(Write({5, 2, 1}));  // wrong length byte
    EXPECT_EQ(PollStatus(), kStatusFailed);
    EXPECT_EQ(keyboard_.CurrentProfile(), 4);
}

TEST_F(MonitorReportsTest, StandardKeyMapStartsAtTheFactoryMatrixAndKeepsWhatIsWritten) {
    Bytes reply = SelectAndRead(0, 0x40, 6, 152);
    ASSERT_EQ(reply.size(), 152u);
    EXPECT_EQ(reply[1], 152);
    EXPECT_EQ(reply[8 + 8], 41) << "group 1 starts with 41";
    EXPECT_EQ(reply[8 + 9], 53) << "position 9, the first key of the map";
    EXPECT_EQ(reply[8 + 136], 72) << "group 17 starts with 72";
    EXPECT_EQ(reply[8 + 141], 79) << "group 17 byte 5";
    EXPECT_EQ(reply[8 + 143], 0);
    Bytes report = Report(6, 152);
    report[1] = 152;
    report[2] = 3;
    for (std::size_t b = 8; b < 152; ++b) report[b] = static_cast<std::uint8_t>(b);
    ASSERT_TRUE(Write(report));
    ASSERT_EQ(PollStatus(), 1);
    EXPECT_EQ(SelectAndRead(3, 0x40, 6, 152), report);
}

}  // namespace
}  // namespace brenik::vkb::test

namespace brenik::vkb::test {
namespace {

class DeviceRegistersTest : public ModelTest {};

TEST_F(DeviceRegistersTest, LockedKeysTakeBitsZeroToFive) {
    ASSERT_TRUE(Write({7, 4, 2, 0x3F}));
    EXPECT_EQ(PollStatus(), 1);
    EXPECT_EQ(SelectAndRead(2, 0x50, 7, 4), (Bytes{7, 4, 2, 0x3F}));
    ASSERT_TRUE(Write({7, 4, 2, 0x40}));
    EXPECT_EQ(PollStatus(), kStatusFailed);
    EXPECT_EQ(keyboard_.LockedKeys(2), 0x3F);
}

TEST_F(DeviceRegistersTest, LaunchEntryComesBackUnderItsSelector) {
    Bytes report = Report(74, 40);
    report[1] = 40;
    report[2] = 1;
    report[3] = 209 + 17;
    const char name[] = "C:\\Games\\run.exe";
    std::copy(name, name + sizeof name - 1, report.begin() + 4);
    report[36] = 0x78;
    report[37] = 0x56;
    report[38] = 0x34;
    report[39] = 0x12;
    ASSERT_TRUE(Write(report));
    ASSERT_EQ(PollStatus(), 1);
    EXPECT_EQ(SelectAndRead(1, 209 + 17, 74, 40), report);
    const Bytes other = SelectAndRead(1, 209 + 18, 74, 40);
    ASSERT_FALSE(other.empty());
    EXPECT_EQ(other[3], 209 + 18);
    EXPECT_EQ(other[4], 0) << "a key never written has an empty entry";

    report[3] = 209 + 44;
    ASSERT_TRUE(Write(report));
    EXPECT_EQ(PollStatus(), kStatusFailed);
}

TEST_F(DeviceRegistersTest, DeviceInformationCarriesVersionsValueAndLayer) {
    keyboard_.SetFirmwareVersion(0x21);
    keyboard_.SetDfuVersion(0x07);
    keyboard_.SetDeviceValue(0x42);
    EXPECT_EQ(Read(14, 8), (Bytes{14, 8, 0x21, 0x07, 0x42, 0, 0, 0}));
    ASSERT_TRUE(keyboard_.SwitchLayer(true));
    EXPECT_EQ(Read(14, 8)[7], 0x80);
    ASSERT_TRUE(keyboard_.SwitchLayer(false));
    EXPECT_EQ(Read(14, 8)[7], 0);
}

TEST_F(DeviceRegistersTest, SyncTokenAndHostState) {
    Bytes token = Report(17, 18);
    token[1] = 18;
    for (std::size_t b = 2; b < 18; ++b) token[b] = static_cast<std::uint8_t>(0xA0 + b);
    ASSERT_TRUE(Write(token));
    EXPECT_EQ(PollStatus(), 1);
    EXPECT_EQ(Read(17, 18), token);

    ASSERT_TRUE(Write({16, 3, 1}));
    EXPECT_EQ(PollStatus(), 1);
    EXPECT_EQ(keyboard_.HostState(), 1);
    ASSERT_TRUE(Write({16, 3, 2}));
    EXPECT_EQ(PollStatus(), kStatusFailed);
    EXPECT_EQ(keyboard_.HostState(), 1);
}

TEST_F(DeviceRegistersTest, VolumeLevelMustGoWithTheVolume) {
    struct Case {
        std::uint8_t level;
        std::uint8_t volume;
        std::uint8_t status;
    };
    const Case cases[] = {
        {0, 0, 1},               // 0
        {1, 1, 1},               // 1
        {1, 14, 1},              // 2
        {2, 15, 1},              // 3
        {3, 42, 1},              // 4
        {4, 43, 1},              // 5
        {6, 84, 1},              // 6
        {7, 85, 1},              // 7
        {7, 100, 1},             // 8
        {7, 101, kStatusFailed}, // 9
        {3, 50, kStatusFailed},  // 10 50 is level 4
        {0, 1, kStatusFailed},   // 11
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        ASSERT_TRUE(Write({18, 8, 0, 0xAA, 0xBB, 0xCC, cases[i].level, cases[i].volume})) << "row " << i;
        EXPECT_EQ(PollStatus(), cases[i].status) << "row " << i;
        if (cases[i].status == 1) {
            EXPECT_EQ(keyboard_.Volume(), cases[i].volume) << "row " << i;
            EXPECT_EQ(keyboard_.VolumeLevel(), cases[i].level) << "row " << i;
        }
    }
    EXPECT_EQ(keyboard_.Volume(), 100);
}

TEST_F(DeviceRegistersTest, WholeKeyboardCommandRestoresFactorySettingsOfAllProfiles) {
    ASSERT_TRUE(Write({5, 3, 3}));
    ASSERT_TRUE(Write({7, 4, 1, 0x21}));
    ASSERT_TRUE(Write(MacroReport(4, 9, {{0x04, 1, 0}})));
    Bytes token = Report(17, 18);
    token[1] = 18;
    token[2] = 0x99;
    ASSERT_TRUE(Write(token));
    const Bytes factoryLighting = SelectAndRead(0, 0x90, 11, 32);
    Bytes lighting = factoryLighting;
    lighting[2] = 0;
    lighting[6] = 0x11;
    ASSERT_TRUE(Write(lighting));

    ASSERT_TRUE(Write({12, 3, 12}));
    EXPECT_EQ(PollStatus(), 1);
    EXPECT_EQ(keyboard_.WholeKeyboardCommands(), 1);
    EXPECT_EQ(keyboard_.LockedKeys(1), 0);
    EXPECT_EQ(Le16At(SelectAndRead(4, 9, 20, 1674), 70), 0);
    EXPECT_EQ(SelectAndRead(0, 0x90, 11, 32), factoryLighting);
    EXPECT_EQ(keyboard_.CurrentProfile(), 3) << "the current profile stays";
    EXPECT_EQ(Read(17, 18), token) << "the token stays";

    ASSERT_TRUE(Write({12, 3, 11}));
    EXPECT_EQ(PollStatus(), kStatusFailed);
    EXPECT_EQ(keyboard_.WholeKeyboardCommands(), 1);
}

TEST_F(DeviceRegistersTest, GarbageOfEveryIdAndLengthNeverHurtsTheKeyboard) {
    const std::size_t lengths[] = {1, 2, 3, 4, 8, 18, 32, 40, 48, 152, 1026, 1674, 2000};
    std::uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return static_cast<std::uint8_t>(seed >> 16);
    };
    int accepted = 0;
    for (int id = 0; id < 256; ++id) {
        for (std::size_t length : lengths) {
            Bytes bytes(length);
            for (std::uint8_t& b : bytes) b = next();
            bytes[0] = static_cast<std::uint8_t>(id);
            if (keyboard_.SetFeature(bytes.data(), bytes.size())) ++accepted;
            bytes[0] = static_cast<std::uint8_t>(id);
            if (keyboard_.GetFeature(bytes.data(), bytes.size())) ++accepted;
            if (!keyboard_.IsPlugged()) keyboard_.Plug();
        }
    }
    EXPECT_GT(accepted, 0) << "some had the right length";
    keyboard_.SetBusyAnswers(0);
    ASSERT_TRUE(Write({5, 3, 2}));
    EXPECT_EQ(PollStatus(), 1) << "the keyboard still answers";
    EXPECT_EQ(Read(5, 3), (Bytes{5, 3, 2}));
}

TEST_F(DeviceRegistersTest, AnyBytesAreRefusedSafely) {
    const std::uint8_t small[4] = {20, 0x8A, 0x06, 0};
    std::uint8_t readBuffer[4] = {20, 0, 0, 0};
    struct Case {
        bool write;
        const std::uint8_t* bytes;
        std::size_t length;
        const char* debugFragment;
    };
    Bytes unknown = {0x63, 0, 0};
    Bytes deviceInfo = Report(14, 8);
    Bytes volume = Report(18, 8);
    Bytes whole = Report(12, 3);
    std::uint8_t statusBuffer[3] = {4, 0, 0};
    const Case cases[] = {
        {true, nullptr, 3, "no report"},                               // 0
        {true, small, 0, "no report"},                                 // 1
        {true, small, 4, "wrong length 4, expects 1674"},              // 2
        {true, small, std::size_t{1} << 40, "wrong length"},           // 3 huge: never read
        {true, unknown.data(), unknown.size(), "unknown report id"},   // 4
        {true, deviceInfo.data(), deviceInfo.size(), "cannot be written"},  // 5
        {false, nullptr, 3, "no buffer"},                              // 6
        {false, readBuffer, 0, "no buffer"},                           // 7
        {false, readBuffer, 4, "wrong length 4, expects 1674"},        // 8
        {false, readBuffer, std::size_t{1} << 40, "wrong length"},     // 9
        {false, volume.data(), volume.size(), "cannot be read"},       // 10
        {false, whole.data(), whole.size(), "cannot be read"},         // 11
        {false, statusBuffer, 2, "wrong length 2, expects 3"},         // 12
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        brenik::test::ClearDebugLines();
        const Case& c = cases[i];
        const bool result = c.write ? keyboard_.SetFeature(c.bytes, c.length)
                                    : keyboard_.GetFeature(const_cast<std::uint8_t*>(c.bytes), c.length);
        EXPECT_FALSE(result) << "row " << i;
        EXPECT_TRUE(brenik::test::DebugLinesContain(c.debugFragment)) << "row " << i;
        EXPECT_FALSE(keyboard_.Trace().Entries().back().accepted) << "row " << i;
    }
    EXPECT_EQ(readBuffer[1], 0) << "a refused read leaves the buffer alone";
    EXPECT_EQ(PollStatus(), 1) << "and the keyboard still answers";
}

}  // namespace
}  // namespace brenik::vkb::test
