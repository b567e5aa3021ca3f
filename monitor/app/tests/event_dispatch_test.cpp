#include "event_dispatch.h"

#include "peer_messages.h"
#include "program_windows.h"
#include "recording_desktop.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace brenik::monitor {
namespace {

using test::PostedMessage;

// Records every action, and the device sequences' two, in one log, in order, as short lines.
class RecordingActions final : public IMonitorActions, public IDeviceEvents {
public:
    void SwitchProfile(int index) override { log.push_back("switch " + std::to_string(index)); }
    void PlaySoundCue(EventWord word) override { log.push_back("cue " + Hex(word)); }
    void NotifyOsd(std::uint16_t eventClass, std::uint16_t subCode) override {
        log.push_back("osd " + Hex(eventClass) + " " + Hex(subCode));
    }
    void MediaKey(std::uint8_t code, std::uint8_t flag) override {
        log.push_back("media " + std::to_string(code) + " " + std::to_string(flag));
    }
    bool OsdShowsWindowsKey() override { return osdShowsWindowsKey; }
    void QueueJob(int job, std::intptr_t argument) override {
        log.push_back("job " + std::to_string(job) + " " + std::to_string(argument));
    }
    void Publish() override { log.push_back("publish"); }
    void SaveProfiles() override { log.push_back("save"); }
    void Arrival() override { log.push_back("arrived"); }
    void Removal() override { log.push_back("removed"); }

    static std::string Hex(unsigned value) {
        char text[16];
        std::snprintf(text, sizeof text, "%X", value);
        return text;
    }

    bool osdShowsWindowsKey = false;
    std::vector<std::string> log;
};

class EventDispatchTest : public ::testing::Test {
protected:
    EventDispatchTest() : dispatch(desktop, state, actions, actions) {
        state.Use([](StateRecord& s) {
            std::memset(&s, 0, sizeof s);
            s.CurrentProfile = 1;
            for (ProfileRecord& p : s.Profiles) p.RightWin = 7;
        });
    }
    StateRecord Copy() { return *state.Snapshot(); }

    test::RecordingDesktop desktop;
    WorkingCopy state;
    RecordingActions actions;
    EventDispatch dispatch;
};

TEST(EventWordTest, BuiltFromTheMessages) {
    EXPECT_EQ(MakeKeyEventWord(0x3000, 0x0002), 0x30000002u);
    EXPECT_EQ(MakeKeyEventWord(0xFFFF3000, -1), 0x3000FFFFu) << "only the low 16 bits of each count";
    EXPECT_EQ(MakeDeviceEventWord(1), 0x7F000001u);
    EXPECT_EQ(MakeDeviceEventWord(0), 0x7F000002u);
    EXPECT_EQ(MakeDeviceEventWord(5), 0x7F000000u);
    EXPECT_EQ(KeyByteOf(0xF00203FF), 0xFF);
    EXPECT_EQ(QualifierOf(0xF00203FF), 0x03);
    EXPECT_EQ(SubCodeOf(0xF00203FF), 0x03FF);
}

TEST_F(EventDispatchTest, EachClassReachesItsAction) {
    struct Case {
        EventWord word;
        std::vector<std::string> log;
    };
    const Case cases[] = {
        {0x30000003, {"switch 2", "cue 30000003"}},    // 0
        {0x30000000, {}},                              // 1 key byte 0: no switch, no sound
        {0x30000006, {}},                              // 2
        {0x30000105, {"switch 4", "cue 30000105"}},    // 3 the key byte counts, not the qualifier
        {0x40000012, {"osd 4000 12"}},                 // 4
        {0x50000107, {"cue 50000107"}},                // 5 recording step
        {0x50000307, {"cue 50000307", "job 4 7"}},     // 6 recording finished: read it back
        {0x70000205, {"media 5 2"}},                   // 7
        {0x7F000001, {"arrived"}},                     // 8
        {0x7F000002, {"removed"}},                     // 9
        {0x7F000000, {}},                              // 10 other device codes
        {0xB0000200, {"cue B0000200"}},                // 11
        {0xC0000100, {"cue C0000100"}},                // 12
        {0x12340001, {}},                              // 13 unknown class
        {0x00000000, {}},                              // 14
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        actions.log.clear();
        dispatch.Dispatch(cases[i].word);
        EXPECT_EQ(actions.log, cases[i].log) << "row " << i;
    }
}

TEST_F(EventDispatchTest, VolumeGoesToTheControllerAndTheDisplay) {
    desktop.Open(kTitleVolumeController);
    dispatch.Dispatch(0xA0000032);
    EXPECT_EQ(desktop.posted, (std::vector<PostedMessage>{{kTitleVolumeController, kMsgVolumeEvent, 0x32, 0}}));
    EXPECT_EQ(actions.log, (std::vector<std::string>{"osd A000 32"}));
}

TEST_F(EventDispatchTest, LightingControlChangesTheCurrentProfileOnly) {
    desktop.Open(kTitleSettings);
    dispatch.Dispatch(0xD0000004);
    EXPECT_EQ(Copy().Profiles[1].LtControl, 4);
    EXPECT_EQ(Copy().Profiles[0].LtControl, 0);
    EXPECT_EQ(actions.log, (std::vector<std::string>{"publish"}));
    EXPECT_EQ(desktop.posted, (std::vector<PostedMessage>{{kTitleSettings, kMsgLightingChanged, 0, 0}}));
}

TEST_F(EventDispatchTest, LayerSwitchSetsExtendedModeAndTellsTheSettingsProgram) {
    desktop.Open(kTitleSettings);
    dispatch.Dispatch(0xE0000001);
    EXPECT_EQ(Copy().Profiles[1].ExtendedMode, 1);
    dispatch.Dispatch(0xE0000002);
    EXPECT_EQ(Copy().Profiles[1].ExtendedMode, 0);
    EXPECT_EQ(actions.log, (std::vector<std::string>{"publish", "cue E0000001", "publish", "cue E0000002"}));
    EXPECT_EQ(desktop.posted, (std::vector<PostedMessage>{{kTitleSettings, kMsgLayerChanged, 0, 1},
                                                          {kTitleSettings, kMsgLayerChanged, 0, 2}}));
}

TEST_F(EventDispatchTest, WithoutACurrentProfileNoFieldIsTouched) {
    for (int bad : {-1, 5, 1000}) {
        state.Use([&](StateRecord& s) { s.CurrentProfile = bad; });
        const StateRecord before = Copy();
        dispatch.Dispatch(0xD0000004);
        dispatch.Dispatch(0xE0000001);
        dispatch.Dispatch(0x60000001);
        EXPECT_EQ(std::memcmp(&before, state.Snapshot().get(), sizeof before), 0) << "index " << bad;
    }
    EXPECT_TRUE(desktop.opened.empty());
}

TEST_F(EventDispatchTest, WindowsKeyFieldFollowsTheQualifierProfile) {
    desktop.Open(kTitleSettings);
    desktop.Open(kTitleOsd);
    struct Case {
        EventWord word;
        int profile;  // whose RightWin changes, or -1
        int value;
    };
    const Case cases[] = {
        {0xF0000301, 2, 0},   // 0 profile 3, key byte 1: RightWin 0
        {0xF00005FF, 4, 1},   // 1 profile 5, key byte 255: RightWin 1
        {0xF0000307, -1, 0},  // 2 key byte 7: no field
        {0xF0000001, -1, 0},  // 3 qualifier 0: no field
        {0xF0000601, -1, 0},  // 4 qualifier 6: no field
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        state.Use([](StateRecord& s) {
            for (ProfileRecord& p : s.Profiles) p.RightWin = 7;
        });
        actions.log.clear();
        desktop.posted.clear();
        actions.osdShowsWindowsKey = i % 2 == 0;
        dispatch.Dispatch(cases[i].word);
        const StateRecord after = Copy();
        for (int p = 0; p < kProfileCount; ++p) {
            EXPECT_EQ(after.Profiles[p].RightWin, p == cases[i].profile ? cases[i].value : 7) << "row " << i << " profile " << p;
        }
        // Saved, published and announced in every case.
        EXPECT_EQ(actions.log, (std::vector<std::string>{"save", "publish"})) << "row " << i;
        const std::intptr_t key = KeyByteOf(cases[i].word);
        std::vector<PostedMessage> expected{{kTitleSettings, kMsgWindowsKeyChanged, 0, key}};
        if (actions.osdShowsWindowsKey) expected.push_back({kTitleOsd, kMsgOsdShow, kOsdKindWindowsKey, key << 16});
        EXPECT_EQ(desktop.posted, expected) << "row " << i;
    }
}

TEST_F(EventDispatchTest, LaunchKeyOpensOnlyAProgramEntry) {
    state.Use([](StateRecord& s) {
        MacroKeyInfo& program = s.Profiles[1].MacroKeyInfo[4];
        program.FunctionType = kFunctionLaunchProgram;
        std::strcpy(program.ProgramPath, "C:\\Games\\run.exe");
        MacroKeyInfo& macro = s.Profiles[1].MacroKeyInfo[5];
        macro.FunctionType = kFunctionMacro;
        std::strcpy(macro.ProgramPath, "C:\\not\\this.exe");
        MacroKeyInfo& last = s.Profiles[1].MacroKeyInfo[43];
        last.FunctionType = kFunctionLaunchProgram;
        std::memset(last.ProgramPath, 'x', sizeof last.ProgramPath);  // no terminator in the field
    });
    for (EventWord word : {0x60000005u, 0x60000006u, 0x60000105u, 0x60000000u, 0x6000002Du, 0x600000FFu, 0x6000002Cu}) {
        dispatch.Dispatch(word);
    }
    EXPECT_EQ(desktop.opened, (std::vector<std::string>{"C:\\Games\\run.exe", std::string(260, 'x')}));
}

}  // namespace
}  // namespace brenik::monitor
