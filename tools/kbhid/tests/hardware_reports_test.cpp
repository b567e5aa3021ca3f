// The hardware backend's byte work: padding feature reports to the collection's length and
// decoding key events from input reports.
#include "feature_report_buffer.h"
#include "input_report_decoder.h"

#include "debug_capture.h"

#include <gtest/gtest.h>

#include <vector>

namespace brenik::kbhid {
namespace {

TEST(FeatureReportBufferTest, PadsShortReportsWithZerosToTheCollectionLength) {
    const std::uint8_t select[3] = {4, 2, 0x60};
    std::vector<std::uint8_t> out{9, 9};
    ASSERT_TRUE(PadFeatureReport(select, 3, 1674, out));
    ASSERT_EQ(out.size(), 1674u);
    EXPECT_EQ(out[0], 4);
    EXPECT_EQ(out[1], 2);
    EXPECT_EQ(out[2], 0x60);
    for (std::size_t i = 3; i < out.size(); ++i) ASSERT_EQ(out[i], 0) << "byte " << i;

    std::vector<std::uint8_t> whole(1674, 0x5A);
    ASSERT_TRUE(PadFeatureReport(whole.data(), whole.size(), 1674, out));
    EXPECT_EQ(out, whole) << "a report of the full length is sent as it is";
}

TEST(FeatureReportBufferTest, RefusesReportsTheCollectionCannotCarry) {
    std::vector<std::uint8_t> tooLong(1027, 1);
    std::vector<std::uint8_t> out{7};
    EXPECT_FALSE(PadFeatureReport(tooLong.data(), tooLong.size(), 1026, out));
    EXPECT_FALSE(PadFeatureReport(tooLong.data(), 0, 1026, out));
    EXPECT_FALSE(PadFeatureReport(nullptr, 3, 1026, out));
    EXPECT_FALSE(PrepareFeatureRead(14, 1027, 1026, out));
    EXPECT_EQ(out, std::vector<std::uint8_t>{7});
    EXPECT_TRUE(test::DebugLinesContain("1027 bytes does not fit the collection's 1026-byte"));
}

TEST(FeatureReportBufferTest, ReadsCopyBackOnlyTheCallersLength) {
    std::vector<std::uint8_t> request;
    ASSERT_TRUE(PrepareFeatureRead(14, 8, 64, request));
    ASSERT_EQ(request.size(), 64u);
    EXPECT_EQ(request[0], 14);

    std::vector<std::uint8_t> reply(64);
    for (std::size_t i = 0; i < reply.size(); ++i) reply[i] = static_cast<std::uint8_t>(i + 100);
    reply[0] = 14;
    std::vector<std::uint8_t> caller(100, 0xEE);  // the updater reads report 14 into 100 bytes
    caller[0] = 14;
    ASSERT_TRUE(CopyFeatureReply(reply, caller.data(), 8));
    for (std::size_t i = 1; i < 8; ++i) EXPECT_EQ(caller[i], i + 100) << "byte " << i;
    for (std::size_t i = 8; i < caller.size(); ++i) ASSERT_EQ(caller[i], 0xEE) << "byte " << i << " is beyond the length";
}

TEST(FeatureReportBufferTest, ARepliesForAnotherReportOrTooShortAreRefused) {
    std::vector<std::uint8_t> caller{28, 0, 0};
    EXPECT_FALSE(CopyFeatureReply({27, 1, 1}, caller.data(), 3));
    EXPECT_FALSE(CopyFeatureReply({28, 1}, caller.data(), 3));
    EXPECT_EQ(caller, (std::vector<std::uint8_t>{28, 0, 0}));
}

TEST(InputReportDecoderTest, DecodesClassAndSubCodeLittleEndian) {
    struct Row {
        std::vector<std::uint8_t> report;
        bool isEvent;
        std::uint16_t eventClass;
        std::uint16_t subCode;
    };
    const std::vector<Row> rows = {
        {{5, 0x00, 0x30, 0x03, 0x00}, true, 0x3000, 0x0003},          // profile key 3
        {{5, 0x00, 0x50, 0x05, 0x02, 0, 0, 0}, true, 0x5000, 0x0205},  // macro recording, qualifier 2, key 5
        {{5, 0x00, 0xE0, 0x00, 0x00}, true, 0xE000, 0},                // layer switch
        {{5, 0x00, 0x00, 0x07, 0x00}, false, 0, 0},                    // idle report
        {{6, 0x00, 0x30, 0x03, 0x00}, false, 0, 0},                    // another report id
        {{5, 0x00, 0x30, 0x03}, false, 0, 0},                          // cut short
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        KeyEvent event{0x1111, 0x2222};
        EXPECT_EQ(DecodeEventReport(rows[i].report.data(), rows[i].report.size(), 5, event), rows[i].isEvent) << "row " << i;
        if (rows[i].isEvent) {
            EXPECT_EQ(event.eventClass, rows[i].eventClass) << "row " << i;
            EXPECT_EQ(event.subCode, rows[i].subCode) << "row " << i;
        } else {
            EXPECT_EQ(event.eventClass, 0x1111) << "row " << i << ": untouched";
        }
    }
    KeyEvent event;
    EXPECT_FALSE(DecodeEventReport(nullptr, 5, 5, event));
}

}  // namespace
}  // namespace brenik::kbhid
