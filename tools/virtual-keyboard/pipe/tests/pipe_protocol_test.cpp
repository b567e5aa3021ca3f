#include "pipe_protocol.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brenik::vkb::pipe {
namespace {

Request RoundTrip(const Request& request) {
    const Bytes bytes = EncodeRequest(request);
    Request decoded;
    std::string reason;
    EXPECT_TRUE(DecodeRequest(bytes.data(), bytes.size(), decoded, reason)) << reason;
    return decoded;
}

TEST(PipeProtocolTest, RequestsRoundTrip) {
    Request set;
    set.kind = Kind::kSetFeature;
    set.report.assign(1674, 0xAB);
    set.report[0] = 20;
    EXPECT_EQ(RoundTrip(set).report, set.report);

    Request get;
    get.kind = Kind::kGetFeature;
    get.reportId = 28;
    get.length = 1026;
    const Request gotGet = RoundTrip(get);
    EXPECT_EQ(gotGet.kind, Kind::kGetFeature);
    EXPECT_EQ(gotGet.reportId, 28);
    EXPECT_EQ(gotGet.length, 1026);

    Request wait;
    wait.kind = Kind::kWaitEvents;
    wait.cursor = 0x01020304;
    wait.waitMs = 250;
    const Request gotWait = RoundTrip(wait);
    EXPECT_EQ(gotWait.cursor, 0x01020304u);
    EXPECT_EQ(gotWait.waitMs, 250);

    Request control;
    control.kind = Kind::kControl;
    control.command = "profile 3";
    EXPECT_EQ(RoundTrip(control).command, "profile 3");

    Request open;
    EXPECT_EQ(RoundTrip(open).kind, Kind::kOpenDevice);
    Request close;
    close.kind = Kind::kCloseDevice;
    EXPECT_EQ(RoundTrip(close).kind, Kind::kCloseDevice);
}

TEST(PipeProtocolTest, HeaderIsKindResultAndLittleEndianLength) {
    Request get;
    get.kind = Kind::kGetFeature;
    get.reportId = 14;
    get.length = 0x0102;
    EXPECT_EQ(EncodeRequest(get), (Bytes{3, 0, 3, 0, 0, 0, 14, 0x02, 0x01}));
}

TEST(PipeProtocolTest, MalformedRequestsAreRefusedWithAReason) {
    struct Row {
        Bytes bytes;
        const char* reasonFragment;
    };
    const std::vector<Row> rows = {
        {{}, "shorter than its header"},
        {{1, 0, 0, 0, 0}, "shorter than its header"},
        {{1, 0, 1, 0, 0, 0}, "does not match"},               // declares one byte, none sent
        {{2, 0, 0, 0, 0, 0, 7}, "does not match"},            // sends one byte, declares none
        {{9, 0, 0, 0, 0, 0}, "unknown request kind"},
        {{0, 0, 0, 0, 0, 0}, "unknown request kind"},
        {{0xFF, 0, 0, 0, 0, 0}, "unknown request kind"},      // refusals are replies only
        {{1, 1, 0, 0, 0, 0}, "result byte"},
        {{1, 0, 1, 0, 0, 0, 5}, "open or close request with a payload"},
        {{6, 0, 1, 0, 0, 0, 5}, "open or close request with a payload"},
        {{2, 0, 0, 0, 0, 0}, "set-feature report of 0 bytes"},
        {{3, 0, 2, 0, 0, 0, 4, 3}, "get-feature request of 2 bytes"},
        {{3, 0, 3, 0, 0, 0, 4, 0, 0}, "get-feature length 0"},
        {{3, 0, 3, 0, 0, 0, 4, 0x01, 0x10}, "get-feature length 4097"},
        {{4, 0, 6, 0, 0, 0, 1, 0, 0, 0, 0x89, 0x13}, "wait of 5001 ms"},
        {{4, 0, 2, 0, 0, 0, 1, 0}, "wait-events request of 2 bytes"},
        {{5, 0, 0, 0, 0, 0}, "control command"},
        {{5, 0, 2, 0, 0, 0, 'a', '\n'}, "control command"},
        {{5, 0, 2, 0, 0, 0, 'a', 0x80}, "control command"},
        {{2, 0, 0x01, 0x10, 0, 0}, "too long"},               // 4097 bytes declared and absent
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        Request request;
        request.command = "untouched";
        std::string reason;
        EXPECT_FALSE(DecodeRequest(rows[i].bytes.data(), rows[i].bytes.size(), request, reason)) << "row " << i;
        EXPECT_NE(reason.find(rows[i].reasonFragment), std::string::npos) << "row " << i << ": " << reason;
        EXPECT_EQ(request.command, "untouched") << "row " << i << ": a refused request changes nothing";
    }
}

TEST(PipeProtocolTest, OversizedSetFeatureIsRefusedEvenWhenTheLengthMatches) {
    Bytes bytes{2, 0};
    const std::uint32_t size = kMaxReportBytes + 1;
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<std::uint8_t>(size >> shift));
    bytes.resize(kHeaderBytes + size, 0);
    Request request;
    std::string reason;
    EXPECT_FALSE(DecodeRequest(bytes.data(), bytes.size(), request, reason));
    bytes[2] = static_cast<std::uint8_t>(kMaxReportBytes & 0xFF);
    bytes[3] = static_cast<std::uint8_t>(kMaxReportBytes >> 8);
    bytes.resize(kHeaderBytes + kMaxReportBytes);
    EXPECT_TRUE(DecodeRequest(bytes.data(), bytes.size(), request, reason)) << reason;
}

TEST(PipeProtocolTest, RepliesRoundTripAndRejectBadFrames) {
    Reply reply = TextReply(Kind::kControl, true, "{\"plugged\": true}");
    const Bytes bytes = EncodeReply(reply);
    Reply decoded;
    std::string reason;
    ASSERT_TRUE(DecodeReply(bytes.data(), bytes.size(), decoded, reason)) << reason;
    EXPECT_EQ(decoded.kind, Kind::kControl);
    EXPECT_TRUE(decoded.ok);
    EXPECT_EQ(ReplyText(decoded), "{\"plugged\": true}");

    const Bytes refused = EncodeReply(TextReply(Kind::kRefused, false, "bad"));
    ASSERT_TRUE(DecodeReply(refused.data(), refused.size(), decoded, reason));
    EXPECT_EQ(decoded.kind, Kind::kRefused);
    EXPECT_FALSE(decoded.ok);

    const std::vector<Bytes> bad = {{5, 2, 0, 0, 0, 0}, {7, 1, 0, 0, 0, 0}, {5, 1, 4, 0, 0, 0, 1}};
    for (std::size_t i = 0; i < bad.size(); ++i) {
        EXPECT_FALSE(DecodeReply(bad[i].data(), bad[i].size(), decoded, reason)) << "row " << i;
    }
}

TEST(PipeProtocolTest, EventBatchesRoundTripAndRejectBadCounts) {
    EventBatch batch;
    batch.nextCursor = 77;
    batch.plugged = true;
    batch.events = {{EventKind::kKeyEvent, 0x3000, 0x0003}, {EventKind::kRemoved, 0, 0}, {EventKind::kArrived, 0, 0}};
    const Bytes bytes = EncodeEventBatch(batch);
    EXPECT_EQ(bytes.size(), 7u + 3 * 5);
    EventBatch decoded;
    std::string reason;
    ASSERT_TRUE(DecodeEventBatch(bytes, decoded, reason)) << reason;
    EXPECT_EQ(decoded.nextCursor, 77u);
    EXPECT_TRUE(decoded.plugged);
    EXPECT_EQ(decoded.events, batch.events);

    Bytes shortOne = bytes;
    shortOne.pop_back();
    Bytes badKind = bytes;
    badKind[7] = 9;
    Bytes badPlugged = bytes;
    badPlugged[4] = 2;
    for (const Bytes& bad : {shortOne, badKind, badPlugged, Bytes{1, 2, 3}}) {
        EventBatch untouched;
        EXPECT_FALSE(DecodeEventBatch(bad, untouched, reason));
        EXPECT_TRUE(untouched.events.empty());
    }
}

}  // namespace
}  // namespace brenik::vkb::pipe
