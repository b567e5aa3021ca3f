// Each command against the virtual keyboard: what travels, what comes back into the record.

#include "report_codec.h"
#include "virtual_keyboard_rig.h"

#include <gtest/gtest.h>

#include <cstring>

namespace brenik::monitor::device::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

ProfileRecord& Profile(Rig& rig, int p) { return rig.state.Record().Profiles[p]; }

// The bytes of the last report the host wrote with this id.
Bytes LastWritten(const Rig& rig, std::uint8_t id) {
    Bytes bytes;
    for (const vkb::TraceEntry& entry : rig.keyboard.Trace().Entries()) {
        if (entry.fromHost && !entry.bytes.empty() && entry.bytes[0] == id) bytes = entry.bytes;
    }
    return bytes;
}

TEST(DeviceCommands, KeyBlockOfDefaultsSendsEachKeysDefaultCode) {
    Rig rig;
    EXPECT_TRUE(rig.commands.WriteKeyBlockA(1));
    const Bytes sent = LastWritten(rig, kReportKeyBlockA);
    ASSERT_EQ(sent.size(), kKeyBlockALength);
    for (int j = 0; j < 12; ++j) EXPECT_EQ(sent[12 + 3 * j], 58 + j) << "key " << j;
    EXPECT_EQ(rig.Lines(), (std::vector<std::string>{"SET key-functions-0-11 profile=1"}));
}

TEST(DeviceCommands, KeyBlockRoundTripThroughTheKeyboard) {
    Rig rig;
    MacroKeyInfo& key5 = Profile(rig, 2).MacroKeyInfo[5];
    key5.FunctionType = kFunctionSingleKey;
    key5.Actions[0] = {0x04, 0x05, 0};
    Profile(rig, 2).MacroKeyInfo[7].FunctionType = kFunctionMacro;
    ASSERT_TRUE(rig.commands.WriteKeyBlockA(2));
    Profile(rig, 2).MacroKeyInfo[5] = MacroKeyInfo{};
    Profile(rig, 2).MacroKeyInfo[7].FunctionType = 0;
    Profile(rig, 2).MacroKeyInfo[8].FunctionType = 0x11;
    ASSERT_TRUE(rig.commands.ReadKeyBlockA(2));
    EXPECT_EQ(key5.FunctionType, kFunctionSingleKey);
    EXPECT_EQ(key5.ActionCount, 1);
    EXPECT_EQ(key5.Actions[0].KeyCode, 0x04);
    EXPECT_EQ(key5.Actions[0].EventType, 0x05);
    EXPECT_EQ(Profile(rig, 2).MacroKeyInfo[7].FunctionType, kFunctionMacro);
    EXPECT_EQ(Profile(rig, 2).MacroKeyInfo[8].FunctionType, kFunctionStandard);
}

TEST(DeviceCommands, CurrentProfileOutsideTheRangeIsNotTaken) {
    Rig rig;
    rig.state.Record().CurrentProfile = 3;
    rig.keyboard.PatchReplies(kReportCurrentProfile, 2, 7);
    EXPECT_TRUE(rig.commands.ReadCurrentProfile());
    EXPECT_EQ(rig.state.Record().CurrentProfile, 3);
    rig.keyboard.PressProfileKey(2);
    EXPECT_TRUE(rig.commands.ReadCurrentProfile());
    EXPECT_EQ(rig.state.Record().CurrentProfile, 1);
}

TEST(DeviceCommands, NoCurrentProfileSendsNothing) {
    Rig rig;
    rig.state.Record().CurrentProfile = -1;
    EXPECT_FALSE(rig.commands.WriteCurrentProfile());
    EXPECT_FALSE(rig.commands.WriteVolume(rig.state.Record().CurrentProfile, 50));
    EXPECT_TRUE(rig.keyboard.Trace().Entries().empty());
}

TEST(DeviceCommands, MacroReplyWithOneChangedByteLeavesTheEntryUntouched) {
    Rig rig;
    MacroKeyInfo& entry = Profile(rig, 0).MacroKeyInfo[3];
    entry.FunctionType = kFunctionMacro;
    std::strcpy(entry.MacroName, "Mine");
    entry.ActionCount = 1;
    entry.Actions[0] = {0x04, 1, 0};
    ASSERT_TRUE(rig.commands.WriteMacro(0, 3));
    const MacroKeyInfo before = entry;
    rig.keyboard.CorruptMacroReplies(1);
    EXPECT_FALSE(rig.commands.ReadMacro(0, 3));
    EXPECT_EQ(std::memcmp(&before, &entry, sizeof entry), 0);
}

TEST(DeviceCommands, MacroReplyCountingMoreThan400IsRefused) {
    Rig rig;
    MacroKeyInfo& entry = Profile(rig, 0).MacroKeyInfo[3];
    std::strcpy(entry.MacroName, "Keep");
    rig.keyboard.PatchReplies(kReportMacro, macro::kCountOffset + 1, 0x02);  // 512 + low byte
    EXPECT_FALSE(rig.commands.ReadMacro(0, 3));
    EXPECT_STREQ(entry.MacroName, "Keep");
}

TEST(DeviceCommands, EntryReplyAboutAnotherKeyIsRefused) {
    Rig rig;
    std::strcpy(Profile(rig, 0).MacroKeyInfo[3].MacroName, "Keep");
    rig.keyboard.PatchReplies(kReportMacro, macro::kKeyByte, 9);
    EXPECT_FALSE(rig.commands.ReadMacro(0, 3));
    EXPECT_STREQ(Profile(rig, 0).MacroKeyInfo[3].MacroName, "Keep");
    EXPECT_EQ(Profile(rig, 0).MacroKeyInfo[9].FunctionType, kFunctionStandard);
    rig.keyboard.PatchReplies(kReportLaunch, launch::kSelectorByte, kSelectLaunchBase + 9);
    EXPECT_FALSE(rig.commands.ReadLaunchEntry(0, 3));
    EXPECT_STREQ(Profile(rig, 0).MacroKeyInfo[3].MacroName, "Keep");
    EXPECT_TRUE(rig.commands.ReadMacro(0, 3));
}

TEST(DeviceCommands, MacroWithMoreThan400ActionsIsNotSent) {
    Rig rig;
    MacroKeyInfo& entry = Profile(rig, 1).MacroKeyInfo[0];
    entry.FunctionType = kFunctionMacro;
    entry.ActionCount = 401;
    EXPECT_FALSE(rig.commands.WriteMacro(1, 0));
    EXPECT_TRUE(rig.keyboard.Trace().Entries().empty());
}

TEST(DeviceCommands, MacroWriteOnlyForMacroEntriesWithItsPauses) {
    Rig rig;
    Profile(rig, 0).MacroKeyInfo[4].FunctionType = kFunctionStandard;
    EXPECT_TRUE(rig.commands.WriteMacro(0, 4));
    EXPECT_TRUE(rig.commands.WriteLaunchEntry(0, 4));
    EXPECT_TRUE(rig.keyboard.Trace().Entries().empty());
    Profile(rig, 0).MacroKeyInfo[4].FunctionType = kFunctionMacro;
    ASSERT_TRUE(rig.commands.WriteMacro(0, 4));
    const auto& entries = rig.keyboard.Trace().Entries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].timeMicroseconds - entries[0].timeMicroseconds, 500'000u);  // 500, then handshake 0
}

TEST(DeviceCommands, NamesOf32CharactersGoWholeAndComeBackWith31) {
    Rig rig;
    MacroKeyInfo& entry = Profile(rig, 4).MacroKeyInfo[9];
    entry.FunctionType = kFunctionMacro;
    std::memcpy(entry.MacroName, "0123456789abcdefghijklmnopqrstuv", 32);
    entry.ActionCount = 1;
    ASSERT_TRUE(rig.commands.WriteMacro(4, 9));
    const Bytes sent = LastWritten(rig, kReportMacro);
    EXPECT_EQ(std::string(sent.begin() + 38, sent.begin() + 70), "0123456789abcdefghijklmnopqrstuv");
    ASSERT_TRUE(rig.commands.ReadMacro(4, 9));
    EXPECT_STREQ(entry.MacroName, "0123456789abcdefghijklmnopqrstu");
}

TEST(DeviceCommands, LaunchEntryRoundTrip) {
    Rig rig;
    MacroKeyInfo& entry = Profile(rig, 1).MacroKeyInfo[40];
    entry.FunctionType = kFunctionLaunchEntry;
    std::strcpy(entry.MacroName, "notepad");
    entry.LaunchValue = 77;
    ASSERT_TRUE(rig.commands.WriteLaunchEntry(1, 40));
    entry = MacroKeyInfo{};
    ASSERT_TRUE(rig.commands.ReadLaunchEntry(1, 40));
    EXPECT_EQ(entry.FunctionType, kFunctionLaunchEntry);
    EXPECT_EQ(entry.KeyIndex, 40);
    EXPECT_STREQ(entry.MacroName, "notepad");
    EXPECT_EQ(entry.LaunchValue, 77u);
}

TEST(DeviceCommands, KeyLightTypeFourReadsBackAsTwo) {
    Rig rig;
    Profile(rig, 0).KeyLightType = 4;
    Profile(rig, 0).LtColorGreen = 200;
    ASSERT_TRUE(rig.commands.WriteLighting(0));
    Profile(rig, 0).LtColorGreen = 0;
    ASSERT_TRUE(rig.commands.ReadLighting(0));
    EXPECT_EQ(Profile(rig, 0).KeyLightType, 2);
    EXPECT_EQ(Profile(rig, 0).LtColorGreen, 200);
}

TEST(DeviceCommands, StandardKeysAndLockKeysRoundTrip) {
    Rig rig;
    Profile(rig, 3).standardkey[0] = 0x29;
    Profile(rig, 3).CapsLock = 1;
    ASSERT_TRUE(rig.commands.WriteStandardKeys(3));
    ASSERT_TRUE(rig.commands.WriteLockKeys(3));
    EXPECT_EQ(rig.keyboard.LockedKeys(3) & kLockCapsLock, kLockCapsLock);
    Profile(rig, 3).standardkey[0] = 0;
    Profile(rig, 3).CapsLock = 0;
    ASSERT_TRUE(rig.commands.ReadStandardKeys(3));
    ASSERT_TRUE(rig.commands.ReadLockKeys(3));
    EXPECT_EQ(Profile(rig, 3).standardkey[0], 0x29);
    EXPECT_EQ(Profile(rig, 3).CapsLock, 1);
}

TEST(DeviceCommands, VolumeLevelsAndRefusal) {
    struct Row { int volume; int level; };
    const Row rows[] = {{14, 1}, {15, 2}, {100, 7}, {0, 0}};
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        Rig rig;
        EXPECT_TRUE(rig.commands.WriteVolume(2, rows[i].volume)) << "row " << i;
        EXPECT_EQ(rig.keyboard.VolumeLevel(), rows[i].level) << "row " << i;
        EXPECT_EQ(rig.keyboard.Volume(), rows[i].volume) << "row " << i;
    }
    Rig rig;
    EXPECT_FALSE(rig.commands.WriteVolume(2, 101));
    EXPECT_TRUE(rig.keyboard.Trace().Entries().empty());
}

TEST(DeviceCommands, DeviceInfoGoesToConfigStateAndCurrentProfile) {
    Rig rig;
    rig.keyboard.SetFirmwareVersion(42);
    rig.keyboard.SetDeviceValue(9);
    rig.keyboard.SwitchLayer(true);
    rig.state.Record().CurrentProfile = 2;
    int firmware = 0;
    ASSERT_TRUE(rig.commands.ReadDeviceInfo(firmware));
    EXPECT_EQ(firmware, 42);
    EXPECT_EQ(rig.settings.firmware, 42);
    EXPECT_EQ(rig.state.Record().DeviceValue, 9);
    EXPECT_EQ(Profile(rig, 2).ExtendedMode, 1);
    EXPECT_EQ(Profile(rig, 0).ExtendedMode, 0);
}

TEST(DeviceCommands, SyncTokenCheck) {
    struct Row { bool stored; bool equal; bool refuseRead; bool match; };
    const Row rows[] = {{true, true, false, true}, {true, false, false, false}, {false, false, false, false},
                        {true, true, true, false}};
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        Rig rig;
        rig.TokensMatch(rows[i].equal);
        if (!rows[i].stored) rig.settings.token.reset();
        if (rows[i].refuseRead) rig.keyboard.RefuseReads(1);
        EXPECT_EQ(rig.commands.CheckSyncToken(), rows[i].match) << "row " << i;
        EXPECT_EQ(rig.commands.TokenMatches(), rows[i].match) << "row " << i;
    }
}

TEST(DeviceCommands, IssuedTokenIsTheClockAndIsStoredEvenWhenRefused) {
    Rig rig;
    rig.keyboard.RefuseSends(1);
    EXPECT_FALSE(rig.commands.IssueSyncToken());
    ASSERT_TRUE(rig.settings.token.has_value());
    EXPECT_EQ(*rig.settings.token, MakeSyncToken(VirtualClock::kEpoch));
    rig.clock.SleepMs(5000);
    EXPECT_TRUE(rig.commands.IssueSyncToken());
    EXPECT_EQ(rig.keyboard.SyncToken(), MakeSyncToken(VirtualClock::kEpoch + 5));
    EXPECT_TRUE(rig.commands.CheckSyncToken());
}

TEST(DeviceCommands, WholeKeyboardWaitsTwoSecondsThenIssuesAToken) {
    Rig rig;
    ASSERT_TRUE(rig.commands.SendWholeKeyboardCommand());
    EXPECT_EQ(rig.keyboard.WholeKeyboardCommands(), 1);
    const auto& entries = rig.keyboard.Trace().Entries();
    ASSERT_GE(entries.size(), 2u);
    EXPECT_EQ(entries[1].timeMicroseconds, 2'100'000u);  // 2000 settle + first delay 100
    EXPECT_EQ(rig.Lines(), (std::vector<std::string>{"SET whole-keyboard", "SET sync-token"}));
    EXPECT_EQ(rig.settings.tokensStored, 1);
}

}  // namespace
}  // namespace brenik::monitor::device::test
