#include "change_flags.h"
#include "profile_store.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace brenik::editing {
namespace {

std::unique_ptr<StateRecord> DefaultState() {
    auto state = std::make_unique<StateRecord>();
    std::memset(state.get(), 0, sizeof *state);
    for (int p = 0; p < kProfileCount; ++p) SetDefaultProfile(state->Profiles[p], p);
    state->CurrentProfile = 0;
    return state;
}

std::vector<std::string> FlagsAfter(const std::function<void(StateRecord&)>& edit) {
    const auto before = DefaultState();
    auto after = std::make_unique<StateRecord>(*before);
    edit(*after);
    SetFlagsOfDifferences(*before, *after);
    return RaisedFlags(*after);
}

using Flags = std::vector<std::string>;

TEST(ChangeFlags, EachKindOfChangeRaisesExactlyItsFlag) {
    EXPECT_EQ(FlagsAfter([](StateRecord& s) { s.Profiles[2].LtColorGreen = 9; }), Flags{"LightingChanged[2]"});
    EXPECT_EQ(FlagsAfter([](StateRecord& s) { s.Profiles[4].LogoLightFLow = 1; }), Flags{"LightingChanged[4]"});
    EXPECT_EQ(FlagsAfter([](StateRecord& s) { s.Profiles[0].KeyLightType = 3; }), Flags{"LightingChanged[0]"});
    EXPECT_EQ(FlagsAfter([](StateRecord& s) { s.Profiles[1].CapsLock = 0; }), Flags{"LockKeysChanged[1]"});
    EXPECT_EQ(FlagsAfter([](StateRecord& s) { s.Profiles[3].standardkey[96] = 0x04; }), Flags{"StandardKeyChanged[3]"});
    EXPECT_EQ(FlagsAfter([](StateRecord& s) { s.Profiles[1].MacroKeyInfo[41].FunctionType = 0xB8; }),
              Flags{"KeyChanged[1][41]"});
    EXPECT_EQ(FlagsAfter([](StateRecord& s) { s.Profiles[0].MacroKeyInfo[0].ProgramPath[259] = 'x'; }),
              Flags{"KeyChanged[0][0]"}) << "any byte of the entry counts";
    EXPECT_EQ(FlagsAfter([](StateRecord& s) { s.CurrentProfile = 3; }), Flags{"ProfileChanged"});
    EXPECT_EQ(FlagsAfter([](StateRecord& s) { s.Profiles[2].FnStatus = 1; }), Flags{"FnStatusChanged[2]"});
}

TEST(ChangeFlags, FieldsOnlyTheMonitorUsesRaiseNothing) {
    EXPECT_TRUE(FlagsAfter([](StateRecord& s) {
                    auto& p = s.Profiles[1];
                    std::strcpy(p.ProFileName, "Renamed");
                    std::strcpy(p.GameFile, "game.exe");
                    std::strcpy(p.PictureFile, "p.jpg");
                    p.MediaOption = 3;
                    p.HDDKeyboard = 0;
                    p.ProfileSwitchSound = 0;
                    p.KeyboardDelay = 3;
                    p.KeyboardSpeed = 0;
                    p.LtOption = 4;          // carried, but the report sends a fixed value
                    p.LogoLightSpeed = 7;
                    p.ExtendedMode = 1;
                    p.MacroKeyInfo[42].FunctionType = 0xBE;  // entries 42, 43: not on the keyboard
                    p.MacroKeyInfo[43].LaunchValue = 5;
                }).empty());
}

TEST(ChangeFlags, StaleFlagsInTheBlockAreClearedAndSeveralChangesAddUp) {
    const auto before = DefaultState();
    // The monitor published its copy with flags of an earlier edit still in it.
    before->LightingChanged[0] = 1;
    before->KeyChanged[4][3] = 1;
    before->ProfileChanged = 1;
    before->StandardKeyChanged[2] = 7;
    before->LockKeysChanged[1] = 1;
    before->FnStatusChanged[0] = 1;
    before->VolumeLevel = 55;
    auto after = std::make_unique<StateRecord>(*before);
    after->Profiles[4].LtColorRed = 1;
    after->Profiles[4].Tab = 0;
    after->Profiles[0].MacroKeyInfo[12].FunctionType = 0xBE;
    after->Profiles[0].MacroKeyInfo[30].FunctionType = 0xBE;
    SetFlagsOfDifferences(*before, *after);
    EXPECT_EQ(RaisedFlags(*after), (Flags{"KeyChanged[0][12]", "KeyChanged[0][30]", "LightingChanged[4]", "LockKeysChanged[4]"}));
    EXPECT_EQ(after->VolumeLevel, 55) << "not a flag";
    EXPECT_EQ(after->KeyChanged[0][12], 1) << "job 1 counts a key flag only when exactly 1";
}

TEST(ChangeFlags, TurningKeyAssignmentsOnFlagsEveryKeyOfThatProfile) {
    auto before = DefaultState();
    before->Profiles[3].HDDKeyboard = 0;
    auto after = std::make_unique<StateRecord>(*before);
    after->Profiles[3].HDDKeyboard = 1;
    SetFlagsOfDifferences(*before, *after);
    const Flags raised = RaisedFlags(*after);
    ASSERT_EQ(raised.size(), static_cast<std::size_t>(kProgrammableKeys));
    EXPECT_EQ(raised.front(), "KeyChanged[3][0]");
    EXPECT_EQ(raised.back(), "KeyChanged[3][41]");
    EXPECT_EQ(after->KeyChanged[3][42], 0) << "entries the keyboard lacks stay unflagged";
    EXPECT_EQ(after->KeyChanged[2][0], 0);
}

TEST(ChangeFlags, AddModeKeepsFlagsAnotherProgramRaised) {
    const auto before = DefaultState();
    before->LightingChanged[1] = 1;  // the settings program's change, not yet announced
    before->KeyChanged[0][7] = 1;
    auto after = std::make_unique<StateRecord>(*before);
    after->Profiles[2].LeftWin = 0;
    SetFlagsOfDifferences(*before, *after, FlagMode::kAdd);
    EXPECT_EQ(RaisedFlags(*after), (Flags{"KeyChanged[0][7]", "LightingChanged[1]", "LockKeysChanged[2]"}));
}

}  // namespace
}  // namespace brenik::editing
