#include "keyboard_service.h"

#include "debug_capture.h"

#include <gtest/gtest.h>

#include <thread>

namespace brenik::vkb {
namespace {

using pipe::Kind;

class KeyboardServiceTest : public ::testing::Test {
protected:
    void SetUp() override { test::ClearDebugLines(); }

    pipe::Reply Send(const pipe::Request& request) {
        const pipe::Bytes bytes = pipe::EncodeRequest(request);
        const pipe::Bytes answer = service.HandleMessage(bytes.data(), bytes.size());
        pipe::Reply reply;
        std::string reason;
        EXPECT_TRUE(pipe::DecodeReply(answer.data(), answer.size(), reply, reason)) << reason;
        return reply;
    }

    pipe::Reply Control(const std::string& line) {
        pipe::Request request;
        request.kind = Kind::kControl;
        request.command = line;
        return Send(request);
    }

    pipe::EventBatch Events(std::uint32_t cursor, std::uint16_t waitMs = 0) {
        pipe::Request request;
        request.kind = Kind::kWaitEvents;
        request.cursor = cursor;
        request.waitMs = waitMs;
        const pipe::Reply reply = Send(request);
        pipe::EventBatch batch;
        std::string reason;
        EXPECT_TRUE(pipe::DecodeEventBatch(reply.payload, batch, reason)) << reason;
        return batch;
    }

    bool Set(std::vector<std::uint8_t> report) {
        pipe::Request request;
        request.kind = Kind::kSetFeature;
        request.report = std::move(report);
        return Send(request).ok;
    }

    pipe::Reply Get(std::uint8_t id, std::uint16_t length) {
        pipe::Request request;
        request.kind = Kind::kGetFeature;
        request.reportId = id;
        request.length = length;
        return Send(request);
    }

    KeyboardService service{[] { return std::uint64_t{0}; }};
};

TEST_F(KeyboardServiceTest, CarriesReportsToTheKeyboardAndBack) {
    pipe::Request open;
    EXPECT_TRUE(Send(open).ok);
    ASSERT_TRUE(Set({5, 3, 2}));  // current profile 2
    const pipe::Reply status = Get(4, 3);
    ASSERT_TRUE(status.ok);
    ASSERT_EQ(status.payload.size(), 3u);
    EXPECT_EQ(status.payload[0], 4);
    const pipe::Reply profile = Get(5, 3);
    ASSERT_TRUE(profile.ok);
    EXPECT_EQ(profile.payload, (pipe::Bytes{5, 3, 2}));
}

TEST_F(KeyboardServiceTest, RefusedReportsComeBackEmptyAndFalse) {
    EXPECT_FALSE(Set({5, 3}));          // wrong length for report 5
    const pipe::Reply tooLong = Get(5, 200);
    EXPECT_FALSE(tooLong.ok);
    EXPECT_TRUE(tooLong.payload.empty());
    ASSERT_TRUE(Control("unplug").ok);
    pipe::Request open;
    EXPECT_FALSE(Send(open).ok) << "an unplugged keyboard cannot be opened";
    EXPECT_FALSE(Get(5, 3).ok);
}

TEST_F(KeyboardServiceTest, MalformedMessagesAreRefusedWithALineAndServingGoesOn) {
    const pipe::Bytes garbage{9, 9, 9};
    const pipe::Bytes answer = service.HandleMessage(garbage.data(), garbage.size());
    pipe::Reply reply;
    std::string reason;
    ASSERT_TRUE(pipe::DecodeReply(answer.data(), answer.size(), reply, reason));
    EXPECT_EQ(reply.kind, Kind::kRefused);
    EXPECT_TRUE(test::DebugLinesContain("vkbd-server refused a message of 3 bytes"));
    EXPECT_TRUE(Control("status").ok);
}

TEST_F(KeyboardServiceTest, EachClientReadsEveryEventFromItsOwnCursor) {
    const pipe::EventBatch first = Events(0);
    EXPECT_TRUE(first.events.empty()) << "a new client starts from now";
    EXPECT_TRUE(first.plugged);
    ASSERT_TRUE(Control("profile 4").ok);
    ASSERT_TRUE(Control("unplug").ok);

    const pipe::EventBatch a = Events(first.nextCursor);
    const pipe::EventBatch b = Events(first.nextCursor);
    const std::vector<pipe::Event> expected = {{pipe::EventKind::kKeyEvent, 0x3000, 4}, {pipe::EventKind::kRemoved, 0, 0}};
    EXPECT_EQ(a.events, expected);
    EXPECT_EQ(b.events, expected);
    EXPECT_FALSE(a.plugged);
    EXPECT_TRUE(Events(a.nextCursor).events.empty());
}

TEST_F(KeyboardServiceTest, AClientTooFarBehindSkipsToTheOldestKeptEvent) {
    const std::uint32_t start = Events(0).nextCursor;
    for (std::size_t i = 0; i < KeyboardService::kMaxLoggedEvents + 10; ++i) ASSERT_TRUE(Control("event 0x1000 1").ok);
    const pipe::EventBatch batch = Events(start);
    EXPECT_EQ(batch.events.size(), pipe::kMaxEventsPerReply);
    EXPECT_EQ(batch.nextCursor, start + 10 + pipe::kMaxEventsPerReply);
    EXPECT_TRUE(test::DebugLinesContain("fell 10 events behind"));
}

TEST_F(KeyboardServiceTest, AWaitingClientWakesForAnEventFromAnotherClient) {
    const std::uint32_t start = Events(0).nextCursor;
    pipe::EventBatch woken;
    std::thread waiter([&] { woken = Events(start, pipe::kMaxWaitMs); });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ASSERT_TRUE(Control("layer extended").ok);
    waiter.join();
    ASSERT_EQ(woken.events.size(), 1u);
    EXPECT_EQ(woken.events[0].eventClass, 0xE000);
}

TEST_F(KeyboardServiceTest, StopEndsWaitsAndIsReported) {
    const std::uint32_t start = Events(0).nextCursor;
    std::thread waiter([&] { EXPECT_TRUE(Events(start, pipe::kMaxWaitMs).events.empty()); });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_TRUE(Control("stop").ok);
    waiter.join();
    EXPECT_TRUE(service.StopRequested());
}

TEST_F(KeyboardServiceTest, AFaultThatUnplugsMidExchangeIsLogged) {
    const std::uint32_t start = Events(0).nextCursor;
    ASSERT_TRUE(Control("fault unplug-after 1").ok);
    Set({5, 3, 1});
    const pipe::EventBatch batch = Events(start);
    ASSERT_FALSE(batch.events.empty());
    EXPECT_EQ(batch.events.back().kind, pipe::EventKind::kRemoved);
    EXPECT_FALSE(batch.plugged);
}

}  // namespace
}  // namespace brenik::vkb
