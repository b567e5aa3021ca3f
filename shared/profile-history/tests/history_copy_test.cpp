#include "history_copy.h"
#include "run_length.h"

#include <gtest/gtest.h>

#include <string>

namespace brenik::history {
namespace {

using namespace std::string_literals;

struct PackRow {
    const char* what;
    std::string bytes;
};

TEST(RunLength, EveryTextComesBackAsItWas) {
    const PackRow rows[] = {
        {"empty", ""},
        {"a struct of zeros", std::string(3872, '0')},
        {"runs of 3, 4, 255 and 256", "aaa" + std::string(4, 'b') + std::string(255, 'c') + std::string(256, 'd')},
        {"the mark alone, in a run, at the end", "x\xFFy"s + std::string(300, '\xFF') + "\xFF"},
        {"line ends and NUL", "Key=1\r\n\0\0\0\0\0\r\n"s},
    };
    for (const PackRow& row : rows) {
        std::string back;
        ASSERT_TRUE(UnpackRuns(PackRuns(row.bytes), row.bytes.size(), back)) << row.what;
        EXPECT_EQ(back, row.bytes) << row.what;
    }
    EXPECT_LT(PackRuns(std::string(170000, '0')).size(), 2100u) << "a profile file of unused entries packs small";
}

TEST(RunLength, RefusesWhatPackingNeverWrites) {
    const struct {
        const char* what;
        std::string packed;
        std::size_t limit;
    } rows[] = {
        {"a mark at the end", "ab\xFF"s, 100},
        {"a mark without its byte", "\xFF\x05"s, 100},
        {"a count of 0", "\xFF\x00x"s, 100},
        {"more than the limit", "\xFF\xFFx"s, 254},
    };
    for (const auto& row : rows) {
        std::string bytes = "left over";
        EXPECT_FALSE(UnpackRuns(row.packed, row.limit, bytes)) << row.what;
        EXPECT_TRUE(bytes.empty()) << row.what;
    }
}

HistoryCopy SampleCopy() {
    HistoryCopy copy;
    copy.when = {1765265000, "2025-12-09 08:23:20"};
    copy.reason = HistoryReason::kReadBack;
    copy.files = {{"config.ini", "[Setting]\r\nCurrentProfile=2\r\n"},
                  {"config\\Default0.cmp", "[Setting]\r\nMacroKeyInfo0=" + std::string(3874, '0') + "\r\n"},
                  {"config\\Default 1.cmp", "\xFF\r\nEnd\r\n"s}};
    return copy;
}

TEST(HistoryCopyFile, KeepsEveryFileByteForByte) {
    const HistoryCopy copy = SampleCopy();
    const std::string text = EncodeHistoryCopy(copy);
    HistoryCopy back;
    std::string error;
    ASSERT_TRUE(DecodeHistoryCopy(text, back, error)) << error;
    EXPECT_EQ(back.when.utcSeconds, copy.when.utcSeconds);
    EXPECT_EQ(back.when.local, copy.when.local);
    EXPECT_EQ(back.reason, HistoryReason::kReadBack);
    EXPECT_TRUE(back.SameFiles(copy));
    EXPECT_EQ(text.rfind("BrenikProfileHistory 1\r\nTime=1765265000\r\nLocal=2025-12-09 08:23:20\r\nReason=read-back\r\n", 0),
              0u)
        << "the head stays readable";
}

TEST(HistoryCopyFile, RefusesADamagedCopy) {
    const std::string good = EncodeHistoryCopy(SampleCopy());
    const std::size_t body = good.find("File=config\\Default0.cmp");
    const struct {
        const char* what;
        std::string text;
        const char* error;
    } rows[] = {
        {"another file", "[Setting]\r\n", "not a history copy"},
        {"cut in a body", good.substr(0, body + 60), "is cut short"},
        {"cut before its end", good.substr(0, good.size() - 5), "cut short"},
        {"a byte of a body changed", std::string(good).replace(good.size() - 12, 1, "Q"), "is damaged"},
        {"an unknown reason", std::string(good).replace(good.find("read-back"), 9, "read-more"), "no reason"},
        {"text after its end", good + "x", "after its end"},
        {"a time no clock gives", std::string(good).replace(good.find("Time=") + 5, 10, "-9223372036854775808"), "no time"},
        {"more files than a copy holds", [&] {
             HistoryCopy many = SampleCopy();
             for (int i = 0; i < 8; ++i) many.files.push_back({"extra" + std::to_string(i), "x"});
             return EncodeHistoryCopy(many);
         }(), "more files"},
        {"a file larger than a copy holds", [&] {
             HistoryCopy large = SampleCopy();
             large.files[0].bytes.assign(5 * 1024 * 1024, '0');
             return EncodeHistoryCopy(large);
         }(), "config.ini is larger than a copy holds"},
    };
    for (const auto& row : rows) {
        HistoryCopy copy;
        std::string error;
        EXPECT_FALSE(DecodeHistoryCopy(row.text, copy, error)) << row.what;
        EXPECT_NE(error.find(row.error), std::string::npos) << row.what << ": " << error;
        EXPECT_TRUE(copy.files.empty()) << row.what;
    }
}

}  // namespace
}  // namespace brenik::history
