// What the user does on the keyboard: each action's effect on the keyboard's own state, as
// the host then reads it, and the key event it queues.

#include "model_test_support.h"

#include "event_class.h"

#include <gtest/gtest.h>

#include <functional>

namespace brenik::vkb::test {
namespace {

class UserEventsTest : public ModelTest {};

struct Event {
    std::uint16_t eventClass;
    std::uint16_t subCode;
    bool operator==(const Event& other) const { return eventClass == other.eventClass && subCode == other.subCode; }
};

std::vector<Event> KeyEvents(const std::vector<HostNotice>& notices) {
    std::vector<Event> events;
    for (const HostNotice& notice : notices) {
        if (notice.kind == HostNotice::Kind::kKeyEvent) events.push_back({notice.eventClass, notice.subCode});
    }
    return events;
}

std::ostream& operator<<(std::ostream& out, const Event& event) {
    return out << std::hex << "{0x" << event.eventClass << ", 0x" << event.subCode << "}" << std::dec;
}

TEST_F(UserEventsTest, EachActionQueuesItsEvent) {
    struct Case {
        std::function<bool(VirtualKeyboard&)> action;
        std::vector<Event> events;
    };
    const Case cases[] = {
        {[](VirtualKeyboard& k) { return k.PressProfileKey(3); }, {{0x3000, 3}}},                 // 0
        {[](VirtualKeyboard& k) { return k.RecordMacro(5, {{4, 1, 0}}); },
         {{0x5000, 0x0100}, {0x5000, 0x0205}, {0x5000, 0x0305}}},                                    // 1
        {[](VirtualKeyboard& k) { return k.AbortMacroRecording(6); },
         {{0x5000, 0x0100}, {0x5000, 0x0206}, {0x5000, 0x0406}}},                                    // 2
        {[](VirtualKeyboard& k) { return k.SwitchLayer(true); }, {{0xE000, 1}}},                    // 3
        {[](VirtualKeyboard& k) { return k.SwitchLayer(false); }, {{0xE000, 255}}},                 // 4
        {[](VirtualKeyboard& k) { return k.SetLightingControl(4); }, {{0xD000, 4}}},                // 5
        {[](VirtualKeyboard& k) { return k.SetWindowsKeyLock(2, true); }, {{0xF000, 0x02FF}}},      // 6
        {[](VirtualKeyboard& k) { return k.SetWindowsKeyLock(5, false); }, {{0xF000, 0x0501}}},     // 7
        {[](VirtualKeyboard& k) { return k.TurnVolume(100); }, {{0xA000, 100}}},                    // 8
        {[](VirtualKeyboard& k) { return k.PressMediaKey(0x23); }, {{0x7000, 0x23}}},               // 9
        {[](VirtualKeyboard& k) { return k.PressLaunchKey(44); }, {{0x6000, 44}}},                  // 10
        {[](VirtualKeyboard& k) { return k.PlayMacroKey(1); }, {{0x4000, 1}}},                      // 11
        {[](VirtualKeyboard& k) { return k.CountdownStep(2); }, {{0xB000, 0x0200}}},                // 12
        {[](VirtualKeyboard& k) { return k.StopCountdown(); }, {{0xC000, 0x0100}}},                 // 13
        {[](VirtualKeyboard& k) { return k.SendRawEvent(0x3000, 0x0102); }, {{0x3000, 0x0102}}},    // 14
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_TRUE(cases[i].action(keyboard_)) << "row " << i;
        EXPECT_EQ(KeyEvents(DrainNotices()), cases[i].events) << "row " << i;
    }
}

TEST_F(UserEventsTest, ActionsTheKeyboardCannotProduceChangeNothing) {
    const std::function<bool(VirtualKeyboard&)> cases[] = {
        [](VirtualKeyboard& k) { return k.PressProfileKey(0); },                                    // 0
        [](VirtualKeyboard& k) { return k.PressProfileKey(6); },                                    // 1
        [](VirtualKeyboard& k) { return k.RecordMacro(0, {}); },                                    // 2
        [](VirtualKeyboard& k) { return k.RecordMacro(45, {}); },                                   // 3
        [](VirtualKeyboard& k) { return k.RecordMacro(3, std::vector<MacroAction>(401)); },        // 4
        [](VirtualKeyboard& k) { return k.SetWindowsKeyLock(6, true); },                            // 5
        [](VirtualKeyboard& k) { return k.TurnVolume(101); },                                       // 6
        [](VirtualKeyboard& k) { return k.TurnVolume(-1); },                                        // 7
        [](VirtualKeyboard& k) { return k.PressMediaKey(0x1F); },                                   // 8
        [](VirtualKeyboard& k) { return k.PressMediaKey(0x28); },                                   // 9
        [](VirtualKeyboard& k) { return k.PressLaunchKey(45); },                                    // 10
        [](VirtualKeyboard& k) { return k.PlayMacroKey(0); },                                       // 11
        [](VirtualKeyboard& k) { return k.CountdownStep(9); },                                      // 12
    };
    const std::string before = keyboard_.StateJson();
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_FALSE(cases[i](keyboard_)) << "row " << i;
        EXPECT_TRUE(DrainNotices().empty()) << "row " << i;
    }
    EXPECT_EQ(keyboard_.StateJson(), before);
}

TEST_F(UserEventsTest, NothingHappensOnAnUnpluggedKeyboard) {
    keyboard_.Unplug();
    DrainNotices();
    EXPECT_FALSE(keyboard_.PressProfileKey(2));
    EXPECT_FALSE(keyboard_.SwitchLayer(true));
    EXPECT_FALSE(keyboard_.SendRawEvent(0x3000, 1));
    EXPECT_TRUE(DrainNotices().empty());
    EXPECT_EQ(keyboard_.CurrentProfile(), 0);
}

TEST_F(UserEventsTest, ProfileKeyChangesTheCurrentProfileAndLeavesTheExtendedLayer) {
    ASSERT_TRUE(keyboard_.SwitchLayer(true));
    ASSERT_TRUE(keyboard_.PressProfileKey(5));
    EXPECT_EQ(Read(5, 3)[2], 4);
    EXPECT_EQ(Read(14, 8)[7], 0);
}

TEST_F(UserEventsTest, RecordedMacroIsReadBackOnItsKeyOfTheCurrentProfile) {
    ASSERT_TRUE(keyboard_.PressProfileKey(2));
    const std::vector<MacroAction> actions = {{0x04, 1, 120}, {0x04, 2, 0}, {0x05, 1, 0x0102}};
    ASSERT_TRUE(keyboard_.RecordMacro(5, actions, "Combo"));

    const Bytes reply = SelectAndRead(1, 4, 20, 1674);  // key number 5 is entry 4
    ASSERT_EQ(reply.size(), 1674u);
    EXPECT_EQ(reply[3], 1);
    EXPECT_EQ(reply[4], 4);
    EXPECT_EQ(Le16At(reply, 70), 3);
    EXPECT_EQ(reply[72], 0x04);
    EXPECT_EQ(Le16At(reply, 74), 120);
    EXPECT_EQ(reply[81], 1);
    EXPECT_EQ(Le16At(reply, 82), 0x0102);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&reply[38])), "Combo");
    EXPECT_EQ(Le16At(reply, 1672), ChecksumOf(reply));
    EXPECT_EQ(SelectAndRead(1, 0x60, 8, 48)[12 + 12], 0xBE) << "key 4 is a macro key now";
    EXPECT_EQ(Le16At(SelectAndRead(0, 4, 20, 1674), 70), 0) << "profile 0 untouched";
}

TEST_F(UserEventsTest, AbortedRecordingStoresNothing) {
    ASSERT_TRUE(keyboard_.AbortMacroRecording(5));
    EXPECT_EQ(Le16At(SelectAndRead(0, 4, 20, 1674), 70), 0);
    EXPECT_EQ(SelectAndRead(0, 0x60, 8, 48)[12 + 12], 0x3A + 4);
}

TEST_F(UserEventsTest, LightingControlWindowsKeyAndVolumeReachTheStoredSettings) {
    ASSERT_TRUE(keyboard_.PressProfileKey(4));
    ASSERT_TRUE(keyboard_.SetLightingControl(6));
    EXPECT_EQ(SelectAndRead(3, 0x90, 11, 32)[9], 6);
    EXPECT_EQ(SelectAndRead(0, 0x90, 11, 32)[9], 1) << "other profiles keep the factory value";

    ASSERT_TRUE(Write({7, 4, 1, 0x21}));
    ASSERT_TRUE(keyboard_.SetWindowsKeyLock(2, true));
    EXPECT_EQ(SelectAndRead(1, 0x50, 7, 4)[3], 0x29);
    ASSERT_TRUE(keyboard_.SetWindowsKeyLock(2, false));
    EXPECT_EQ(SelectAndRead(1, 0x50, 7, 4)[3], 0x21);

    ASSERT_TRUE(keyboard_.TurnVolume(43));
    EXPECT_EQ(keyboard_.Volume(), 43);
    EXPECT_EQ(keyboard_.VolumeLevel(), 4);
}

TEST_F(UserEventsTest, CountdownRunsUntilGoOrStop) {
    ASSERT_TRUE(keyboard_.CountdownStep(1));
    EXPECT_EQ(keyboard_.CountdownStepNow(), 1);
    ASSERT_TRUE(keyboard_.CountdownStep(8));
    EXPECT_EQ(keyboard_.CountdownStepNow(), 0);
    ASSERT_TRUE(keyboard_.CountdownStep(3));
    ASSERT_TRUE(keyboard_.StopCountdown());
    EXPECT_EQ(keyboard_.CountdownStepNow(), 0);
}

TEST_F(UserEventsTest, PlugAndUnplugAreNoticedOnceAndDropTheVolatileState) {
    ASSERT_TRUE(keyboard_.SwitchLayer(true));
    ASSERT_TRUE(Write({16, 3, 1}));
    ASSERT_TRUE(Write({4, 0, 0x90}));
    DrainNotices();

    keyboard_.Unplug();
    keyboard_.Unplug();
    EXPECT_FALSE(keyboard_.IsPlugged());
    EXPECT_TRUE(Read(5, 3).empty());
    keyboard_.Plug();
    keyboard_.Plug();
    const std::vector<HostNotice> notices = DrainNotices();
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_EQ(notices[0].kind, HostNotice::Kind::kRemoved);
    EXPECT_EQ(notices[1].kind, HostNotice::Kind::kArrived);
    EXPECT_FALSE(keyboard_.ExtendedLayer());
    EXPECT_EQ(keyboard_.HostState(), 0);
    EXPECT_TRUE(Read(11, 32).empty()) << "the selection is gone";
}

}  // namespace
}  // namespace brenik::vkb::test
