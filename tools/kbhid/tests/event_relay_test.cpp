#include "event_relay.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brenik::kbhid {
namespace {

using vkb::pipe::Event;
using vkb::pipe::EventBatch;
using vkb::pipe::EventKind;

struct RecordingSink : IEventSink {
    std::vector<std::string> posted;
    void KeyEvent(std::uint16_t eventClass, std::uint16_t subCode) override {
        char line[32];
        std::snprintf(line, sizeof line, "1325 %04X %04X", eventClass, subCode);
        posted.push_back(line);
    }
    void DeviceChanged(bool arrived) override { posted.push_back(arrived ? "1326 1" : "1326 0"); }
};

EventBatch Batch(std::uint32_t next, bool plugged, std::vector<Event> events) {
    EventBatch batch;
    batch.nextCursor = next;
    batch.plugged = plugged;
    batch.events = std::move(events);
    return batch;
}

TEST(EventRelayTest, PassesEventsInOrderAndAdvancesTheCursor) {
    RecordingSink sink;
    EventRelay relay(true);
    EXPECT_EQ(relay.Cursor(), 0u);
    relay.OnBatch(Batch(5, true, {}), sink);
    relay.OnBatch(Batch(8, true,
                        {{EventKind::kKeyEvent, 0x3000, 3},
                         {EventKind::kRemoved, 0, 0},
                         {EventKind::kArrived, 0, 0},
                         {EventKind::kKeyEvent, 0x5000, 0x0105}}),
                  sink);
    EXPECT_EQ(relay.Cursor(), 8u);
    EXPECT_EQ(sink.posted, (std::vector<std::string>{"1325 3000 0003", "1326 0", "1326 1", "1325 5000 0105"}));
}

TEST(EventRelayTest, PresenceIsToldOnceAndMissedChangesAreMadeUp) {
    RecordingSink sink;
    EventRelay relay(false);
    relay.OnBatch(Batch(1, false, {{EventKind::kRemoved, 0, 0}}), sink);
    EXPECT_TRUE(sink.posted.empty()) << "already known as removed";
    relay.OnBatch(Batch(2, true, {}), sink);  // plugged in while this client held no cursor
    relay.OnBatch(Batch(3, true, {{EventKind::kArrived, 0, 0}}), sink);
    EXPECT_EQ(sink.posted, (std::vector<std::string>{"1326 1"}));
}

TEST(EventRelayTest, LosingTheServerRemovesAKnownKeyboardAndReachingItAgainBringsItBack) {
    RecordingSink sink;
    EventRelay relay(true);
    relay.OnBatch(Batch(4, true, {}), sink);
    relay.OnServerLost(sink);
    relay.OnServerLost(sink);
    EXPECT_EQ(relay.Cursor(), 0u) << "the next request asks for events from now on";
    relay.OnBatch(Batch(1, true, {}), sink);
    EXPECT_EQ(sink.posted, (std::vector<std::string>{"1326 0", "1326 1"}));
    EXPECT_TRUE(relay.Plugged());
}

}  // namespace
}  // namespace brenik::kbhid
