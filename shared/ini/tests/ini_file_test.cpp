#include "ini_file.h"

#include "debug_capture.h"
#include "memory_ini_storage.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <thread>

namespace brenik::ini {
namespace {

constexpr const char* kPath = "D:\\Games\\Kb\\config.ini";

class CIniFileTest : public ::testing::Test {
protected:
    void SetUp() override { brenik::test::ClearDebugLines(); }
    test::MemoryIniStorage storage;
};

TEST_F(CIniFileTest, NamesIgnoreCaseBetweenWriteAndRead) {
    CIniFile ini(kPath, storage);
    ASSERT_TRUE(ini.WriteString("KeyMap", "standardkey", "20202020"));
    EXPECT_EQ(ini.ReadString("keymap", "standardKey", "none"), "20202020");
    EXPECT_EQ(storage.files[kPath], "[KeyMap]\r\nstandardkey=20202020\r\n");
}

TEST_F(CIniFileTest, MissingKeysAndFilesGiveTheDefaults) {
    CIniFile ini(kPath, storage);
    EXPECT_EQ(ini.ReadInt("Setting", "CurrentProfile", -1), -1);
    EXPECT_EQ(ini.ReadString("Setting", "Name", "Profile 1"), "Profile 1");
    EXPECT_EQ(ini.ReadString("Setting", "Name", "trailing   "), "trailing");
    std::array<std::uint8_t, 4> dest{1, 2, 3, 4};
    EXPECT_FALSE(ini.ReadStruct("HidAccessCode", "Code", dest.data(), dest.size()));
    EXPECT_EQ(dest, (std::array<std::uint8_t, 4>{1, 2, 3, 4}));
    EXPECT_TRUE(storage.files.empty()) << "reads never create a file";
}

TEST_F(CIniFileTest, IntegersRoundTripIncludingMinusOne) {
    CIniFile ini(kPath, storage);
    for (int value : {-1, 0, 1, 255, -2147483647 - 1, 2147483647}) {
        ASSERT_TRUE(ini.WriteInt("Setting", "Value", value));
        EXPECT_EQ(ini.ReadInt("Setting", "Value", 12345), value);
    }
    storage.files[kPath] = "[Setting]\r\nEmpty=\r\nText=abc\r\nQuotedEmpty=\"\"\r\n";
    EXPECT_EQ(ini.ReadInt("Setting", "Empty", 7), 7);
    EXPECT_EQ(ini.ReadInt("Setting", "QuotedEmpty", 7), 7);
    EXPECT_EQ(ini.ReadInt("Setting", "Text", 7), 0);
}

TEST_F(CIniFileTest, LongStringsReadBackCut) {
    CIniFile ini(kPath, storage);
    const std::string value(3000, 'q');
    ASSERT_TRUE(ini.WriteString("OSDData", "Message", value));
    EXPECT_EQ(ini.ReadString("OSDData", "Message", ""), value.substr(0, 2047));
}

TEST_F(CIniFileTest, DamagedStructsAreRefusedAndLeaveTheDestination) {
    CIniFile ini(kPath, storage);
    std::array<std::uint8_t, 16> token{};
    for (std::size_t i = 0; i < token.size(); ++i) token[i] = static_cast<std::uint8_t>(0xA0 + i);
    ASSERT_TRUE(ini.WriteStruct("HidAccessCode", "Code", token.data(), token.size()));

    std::array<std::uint8_t, 16> read{};
    ASSERT_TRUE(ini.ReadStruct("HidAccessCode", "Code", read.data(), read.size()));
    EXPECT_EQ(read, token);

    std::string& text = storage.files[kPath];
    const std::size_t digit = text.find('=') + 5;
    text[digit] = text[digit] == '0' ? '1' : '0';
    std::array<std::uint8_t, 16> untouched;
    untouched.fill(0x5A);
    EXPECT_FALSE(ini.ReadStruct("HidAccessCode", "Code", untouched.data(), untouched.size()));
    for (std::uint8_t b : untouched) EXPECT_EQ(b, 0x5A);
    EXPECT_TRUE(brenik::test::DebugLinesContain("Code"));

    // 15 bytes stored, 16 asked.
    ASSERT_TRUE(ini.WriteStruct("HidAccessCode", "Short", token.data(), 15));
    EXPECT_FALSE(ini.ReadStruct("HidAccessCode", "Short", untouched.data(), untouched.size()));
    for (std::uint8_t b : untouched) EXPECT_EQ(b, 0x5A);
}

TEST_F(CIniFileTest, AnUnreadableFileIsNeverReplaced) {
    storage.files[kPath] = "[Setting]\r\nCurrentProfile=3\r\n";
    storage.unreadable.insert(kPath);
    CIniFile ini(kPath, storage);
    EXPECT_EQ(ini.ReadInt("Setting", "CurrentProfile", -1), -1);
    EXPECT_FALSE(ini.WriteInt("Setting", "Device", 1));
    ini.BeginBatch();
    EXPECT_FALSE(ini.WriteInt("Setting", "Device", 1));
    EXPECT_TRUE(ini.EndBatch());
    EXPECT_EQ(storage.writes, 0);
    EXPECT_EQ(storage.files[kPath], "[Setting]\r\nCurrentProfile=3\r\n");
    EXPECT_TRUE(brenik::test::DebugLinesContain("could not be read"));
}

TEST_F(CIniFileTest, Utf16FilesAreLeftAlone) {
    const std::string utf16("\xFF\xFE[\0s\0]\0", 8);
    storage.files[kPath] = utf16;
    CIniFile ini(kPath, storage);
    EXPECT_EQ(ini.ReadString("s", "k", "d"), "d");
    EXPECT_FALSE(ini.WriteString("s", "k", "v"));
    EXPECT_EQ(storage.files[kPath], utf16);
    EXPECT_TRUE(brenik::test::DebugLinesContain("UTF-16"));
}

TEST_F(CIniFileTest, WritesThatCannotBeStoredAreRefused) {
    storage.files[kPath] = "[OSDData]\r\nMessage=old\r\n";
    CIniFile ini(kPath, storage);
    EXPECT_FALSE(ini.WriteString("OSDData", "Message", "two\r\n[Setting]\r\nCurrentProfile=4"));
    EXPECT_FALSE(ini.WriteString("OSD]Data", "Message", "x"));
    EXPECT_FALSE(ini.WriteString("OSDData", "Mes=sage", "x"));
    EXPECT_FALSE(ini.WriteString("", "Message", "x"));
    EXPECT_EQ(storage.files[kPath], "[OSDData]\r\nMessage=old\r\n");
    EXPECT_EQ(storage.writes, 0);
    EXPECT_TRUE(brenik::test::DebugLinesContain("refused a write"));
}

TEST_F(CIniFileTest, UnchangedValuesCauseNoWrite) {
    CIniFile ini(kPath, storage);
    ASSERT_TRUE(ini.WriteInt("Setting", "Device", 1));
    ASSERT_TRUE(ini.WriteInt("Setting", "Device", 1));
    EXPECT_EQ(storage.writes, 1);
}

TEST_F(CIniFileTest, AFailedWriteIsReported) {
    storage.failWrites = true;
    CIniFile ini(kPath, storage);
    EXPECT_FALSE(ini.WriteInt("Setting", "Device", 1));
    EXPECT_TRUE(brenik::test::DebugLinesContain("could not write"));
}

TEST_F(CIniFileTest, ABatchReadsOnceAndWritesOnce) {
    storage.files[kPath] = "[Setting]\r\nCurrentProfile=1\r\n";
    CIniFile ini(kPath, storage);
    ini.BeginBatch();
    for (int i = 0; i < 44; ++i) {
        const std::array<std::uint8_t, 3> record{static_cast<std::uint8_t>(i), 1, 2};
        ASSERT_TRUE(ini.WriteStruct("MacroKey", "Key" + std::to_string(i), record.data(), record.size()));
    }
    ASSERT_TRUE(ini.WriteInt("Setting", "CurrentProfile", 4));
    EXPECT_EQ(ini.ReadInt("Setting", "CurrentProfile", -1), 4) << "reads in a batch see its writes";
    EXPECT_EQ(storage.writes, 0) << "nothing is written before the batch ends";
    ASSERT_TRUE(ini.EndBatch());
    EXPECT_EQ(storage.reads, 1);
    EXPECT_EQ(storage.writes, 1);

    CIniFile again(kPath, storage);
    std::array<std::uint8_t, 3> record{};
    ASSERT_TRUE(again.ReadStruct("MacroKey", "key43", record.data(), record.size()));
    EXPECT_EQ(record[0], 43);
    EXPECT_EQ(again.ReadInt("Setting", "CurrentProfile", -1), 4);
}

TEST_F(CIniFileTest, TwoThreadsWritingOneFileLoseNothing) {
    constexpr int kWrites = 150;
    const auto writer = [&](const std::string& prefix) {
        for (int i = 0; i < kWrites; ++i) {
            CIniFile ini(kPath, storage);
            if (i % 10 == 0) {
                ini.BeginBatch();
                ini.WriteInt("Setting", prefix + "Batch" + std::to_string(i), i);
                ini.EndBatch();
            } else {
                ini.WriteInt("Setting", prefix + std::to_string(i), i);
            }
        }
    };
    std::thread window(writer, "Window");
    std::thread job(writer, "Job");
    window.join();
    job.join();
    CIniFile ini(kPath, storage);
    for (const char* prefix : {"Window", "Job"}) {
        for (int i = 0; i < kWrites; ++i) {
            const std::string key = std::string(prefix) + (i % 10 == 0 ? "Batch" : "") + std::to_string(i);
            EXPECT_EQ(ini.ReadInt("Setting", key, -1), i) << key;
        }
    }
}

TEST_F(CIniFileTest, ABatchOfReadsWritesNothing) {
    storage.files[kPath] = "[Setting]\r\nCurrentProfile=1\r\n";
    CIniFile ini(kPath, storage);
    ini.BeginBatch();
    EXPECT_EQ(ini.ReadInt("Setting", "CurrentProfile", -1), 1);
    EXPECT_EQ(ini.ReadString("Setting", "Missing", "d"), "d");
    EXPECT_TRUE(ini.EndBatch());
    EXPECT_EQ(storage.reads, 1);
    EXPECT_EQ(storage.writes, 0);
}

}  // namespace
}  // namespace brenik::ini
