// The four jobs against the virtual keyboard, in virtual time: which commands in what order,
// with what pauses, and what the monitor is asked to do afterwards.

#include "report_codec.h"
#include "virtual_keyboard_rig.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <cstring>

namespace brenik::monitor::device::test {
namespace {

using Lines = std::vector<std::string>;

ProfileRecord& Profile(Rig& rig, int p) { return rig.state.Record().Profiles[p]; }

void NoHddKeyboard(Rig& rig) {
    for (int p = 0; p < kProfileCount; ++p) Profile(rig, p).HDDKeyboard = 0;
}

// A macro in the keyboard's own memory: key function 0xBE and the macro entry.
void KeyboardMacro(Rig& rig, int profile, int key, const char* name, int actions) {
    auto record = std::make_unique<ProfileRecord>(Profile(rig, profile));
    MacroKeyInfo& entry = record->MacroKeyInfo[key];
    entry.FunctionType = kFunctionMacro;
    std::strcpy(entry.MacroName, name);
    entry.ActionCount = static_cast<std::uint16_t>(actions);
    for (int a = 0; a < actions; ++a) entry.Actions[a] = {0x04, static_cast<std::uint8_t>(1 + a % 2), 20};
    std::vector<std::uint8_t> report(kMacroLength, 0);
    EncodeMacro(entry, static_cast<std::uint8_t>(profile), static_cast<std::uint8_t>(key), report.data());
    rig.Preload(report);
    for (const KeyBlockLayout* block : {&kKeyBlockA, &kKeyBlockB, &kKeyBlockC}) {
        if (key < block->firstKey || key >= block->firstKey + block->keyCount) continue;
        std::vector<std::uint8_t> blockReport(block->length, 0);
        EncodeKeyBlock(*block, *record, static_cast<std::uint8_t>(profile), blockReport.data());
        rig.Preload(blockReport);
    }
}

TEST(ApplyChanges, ProfileChangedOtherThanOneSendsNoCurrentProfile) {
    Rig rig;
    rig.state.Record().ProfileChanged = 2;
    rig.jobs.Run(kJobApplyChanges, 0);
    EXPECT_EQ(rig.Lines(), (Lines{"SET sync-token"}));
    rig.keyboard.ClearTrace();
    rig.state.Record().ProfileChanged = 1;
    rig.jobs.Run(kJobApplyChanges, 0);
    EXPECT_EQ(rig.Lines(), (Lines{"SET current-profile profile=0", "SET sync-token"}));
}

TEST(ApplyChanges, KeyThirtyBelongsToNoBlock) {
    Rig rig;
    rig.state.Record().KeyChanged[1][30] = 1;
    rig.jobs.Run(kJobApplyChanges, 0);
    EXPECT_EQ(rig.Lines(), (Lines{"SET sync-token"}));
    rig.keyboard.ClearTrace();
    Profile(rig, 1).MacroKeyInfo[30].FunctionType = kFunctionMacro;  // but a macro there still travels
    Profile(rig, 1).MacroKeyInfo[30].ActionCount = 2;
    rig.jobs.Run(kJobApplyChanges, 0);
    EXPECT_EQ(rig.Lines(), (Lines{"SET macro profile=1 key=30 actions=2", "SET sync-token"}));
}

TEST(ApplyChanges, EveryKindInItsOrder) {
    Rig rig;
    StateRecord& s = rig.state.Record();
    s.ProfileChanged = 1;
    s.StandardKeyChanged[2] = 1;
    s.LockKeysChanged[0] = 5;
    s.LightingChanged[4] = 1;
    s.KeyChanged[3][0] = 1;
    s.KeyChanged[3][15] = 1;
    s.KeyChanged[3][40] = 1;
    s.KeyChanged[3][41] = 2;  // counts only when exactly 1
    Profile(rig, 3).MacroKeyInfo[0].FunctionType = kFunctionMacro;
    Profile(rig, 3).MacroKeyInfo[40].FunctionType = kFunctionLaunchEntry;
    Profile(rig, 3).MacroKeyInfo[41].FunctionType = kFunctionMacro;
    rig.jobs.Run(kJobApplyChanges, 0);
    EXPECT_EQ(rig.Lines(), (Lines{
                               "SET current-profile profile=0",
                               "SET standard-keys profile=2",
                               "SET locked-keys profile=0 flags=0x3F",
                               "SET key-functions-0-11 profile=3",
                               "SET key-functions-12-21 profile=3",
                               "SET key-functions-37-41 profile=3",
                               "SET macro profile=3 key=0 actions=0",
                               "SET lighting profile=4",
                               "SET launch profile=3 key=40",
                               "SET sync-token",
                           }));
}

TEST(ApplyChanges, ProfileWithoutHddKeyboardSendsNoKeyFunctions) {
    Rig rig;
    NoHddKeyboard(rig);
    StateRecord& s = rig.state.Record();
    s.StandardKeyChanged[1] = 1;
    s.LockKeysChanged[1] = 1;
    s.LightingChanged[1] = 1;
    s.KeyChanged[1][3] = 1;
    Profile(rig, 1).MacroKeyInfo[3].FunctionType = kFunctionMacro;
    rig.jobs.Run(kJobApplyChanges, 0);
    EXPECT_EQ(rig.Lines(), (Lines{"SET standard-keys profile=1", "SET locked-keys profile=1 flags=0x3F",
                                  "SET lighting profile=1", "SET sync-token"}));
}

TEST(ApplyChanges, OneLightingEditCostsOneCommandAndTheToken) {
    Rig rig;
    rig.state.Record().LightingChanged[2] = 1;
    Profile(rig, 2).LtColorBlue = 0x33;
    rig.jobs.Run(kJobApplyChanges, 0);
    EXPECT_EQ(rig.Lines(), (Lines{"SET lighting profile=2", "SET sync-token"}));
    EXPECT_EQ(rig.settings.token, rig.keyboard.SyncToken());
    // handshake 500, pause 100, pause 100 (step 8), pause 100 (step 11), then the token.
    const auto& entries = rig.keyboard.Trace().Entries();
    EXPECT_EQ(entries.back().timeMicroseconds / 1000, 500u + 100u + 100u + 100u + 500u);
}

TEST(ApplyChanges, FailedCommandDoesNotEndTheJobButAnAbortDoes) {
    Rig rig;
    StateRecord& s = rig.state.Record();
    s.StandardKeyChanged[0] = 1;
    s.LightingChanged[0] = 1;
    rig.keyboard.FailCommands(1);
    rig.jobs.Run(kJobApplyChanges, 0);
    EXPECT_EQ(rig.Lines(), (Lines{"SET standard-keys profile=0 -> status 2: failure injected", "SET lighting profile=0", "SET sync-token"}));

    Rig aborted;
    aborted.state.Record().StandardKeyChanged[0] = 1;
    aborted.state.Record().LightingChanged[0] = 1;
    aborted.clock.At(200, [&] { aborted.abort.store(1); });
    EXPECT_FALSE(aborted.jobs.ApplyChanges());
    EXPECT_EQ(aborted.Lines(), (Lines{"SET standard-keys profile=0"}));
    EXPECT_EQ(aborted.settings.tokensStored, 0);
}

TEST(ApplyChanges, ArgumentOneSendsTheWholeKeyboardCommandOnly) {
    Rig rig;
    rig.state.Record().LightingChanged[0] = 1;
    rig.jobs.Run(kJobApplyChanges, kApplyWholeKeyboard);
    EXPECT_EQ(rig.Lines(), (Lines{"SET whole-keyboard", "SET sync-token"}));
}

TEST(Synchronise, EqualTokensReadTwoReportsThenSaveAndSendHostState) {
    Rig rig;
    rig.TokensMatch(true);
    rig.commands.CheckSyncToken();
    rig.keyboard.ClearTrace();
    rig.state.Record().KeyChanged[2][2] = 1;
    rig.jobs.Run(kJobSynchronise, 0);
    EXPECT_EQ(rig.Lines(), (Lines{"GET device-info firmware=21 dfu=3 value=1 extended=0", "GET current-profile profile=0",
                                  "SET host-state value=1"}));
    EXPECT_EQ(rig.host.events, (Lines{"save", "publish", "notify 1254"}));
    EXPECT_EQ(rig.synced.load(), 1);
    EXPECT_EQ(rig.state.Record().KeyChanged[2][2], 0);
    const auto& entries = rig.keyboard.Trace().Entries();
    EXPECT_EQ(entries[1].timeMicroseconds / 1000, 100u + 1000u);  // pause 100, pause 1000
}

TEST(Synchronise, DifferentTokensReadEverythingBackAndIssueANewToken) {
    Rig rig;
    rig.TokensMatch(false);
    KeyboardMacro(rig, 1, 4, "Combo", 6);
    KeyboardMacro(rig, 3, 38, "Late", 2);
    rig.commands.CheckSyncToken();
    rig.keyboard.ClearTrace();
    for (int p = 0; p < kProfileCount; ++p) Profile(rig, p).LtColorRed = 1;
    Profile(rig, 1).MacroKeyInfo[20].FunctionType = kFunctionLaunchEntry;  // the keyboard says default
    rig.jobs.Run(kJobSynchronise, 0);

    EXPECT_EQ(rig.LinesStartingWith("GET standard-keys").size(), 5u);
    EXPECT_EQ(rig.LinesStartingWith("GET locked-keys").size(), 5u);
    EXPECT_EQ(rig.LinesStartingWith("GET key-functions").size(), 15u);
    EXPECT_EQ(rig.LinesStartingWith("GET macro"), (Lines{"GET macro profile=1 key=4 actions=6",
                                                         "GET macro profile=3 key=38 actions=2"}));
    EXPECT_TRUE(rig.LinesStartingWith("GET launch").empty());
    EXPECT_EQ(rig.LinesStartingWith("GET lighting").size(), 5u);
    const Lines all = rig.Lines();
    const Lines tail(all.end() - 2, all.end());
    EXPECT_EQ(tail, (Lines{"SET sync-token", "SET host-state value=1"}));
    EXPECT_EQ(rig.host.events, (Lines{"keep history", "save", "publish", "notify 1254", "notice read back"}));

    EXPECT_STREQ(Profile(rig, 1).MacroKeyInfo[4].MacroName, "Combo");
    EXPECT_EQ(Profile(rig, 1).MacroKeyInfo[4].ActionCount, 6);
    EXPECT_EQ(Profile(rig, 3).MacroKeyInfo[38].FunctionType, kFunctionMacro);
    EXPECT_EQ(Profile(rig, 1).MacroKeyInfo[20].FunctionType, kFunctionStandard);
    EXPECT_EQ(Profile(rig, 0).LtColorRed, 255);  // the keyboard's factory red
    EXPECT_EQ(rig.keyboard.SyncToken(), rig.settings.token);
}

TEST(Synchronise, MacroReadTriesThreeTimesWithPausesThenLeavesThePasses) {
    Rig rig;
    rig.TokensMatch(false);
    KeyboardMacro(rig, 0, 1, "A", 1);
    KeyboardMacro(rig, 2, 1, "B", 1);
    rig.commands.CheckSyncToken();
    rig.keyboard.ClearTrace();
    rig.keyboard.CorruptMacroReplies(3);
    rig.jobs.Run(kJobSynchronise, 0);
    // Profile 0's key fails three times; profile 2's macro is not tried; lighting still read.
    EXPECT_EQ(rig.LinesStartingWith("GET macro").size(), 3u);
    EXPECT_EQ(rig.LinesStartingWith("GET lighting").size(), 5u);
    std::vector<std::uint64_t> selects;
    for (const vkb::TraceEntry& entry : rig.keyboard.Trace().Entries()) {
        if (entry.line.find("selector=0x01 macro") != std::string::npos) selects.push_back(entry.timeMicroseconds / 1000);
    }
    ASSERT_EQ(selects.size(), 3u);
    // Each attempt: 100 pause + 1000 handshake + the read, then 500 before the next.
    EXPECT_EQ(selects[1] - selects[0], 1600u);
    EXPECT_EQ(selects[2] - selects[1], 1600u);
}

TEST(Synchronise, TheUserIsToldOnlyOfReplacedProfilesTheHistoryHolds) {
    for (const bool holds : {true, false}) {
        Rig rig;
        rig.host.historyHolds = holds;
        rig.TokensMatch(false);
        rig.commands.CheckSyncToken();
        for (int p = 0; p < kProfileCount; ++p) Profile(rig, p).LtColorRed = 1;  // the keyboard holds others
        rig.jobs.Run(kJobSynchronise, 0);
        const bool told = std::count(rig.host.events.begin(), rig.host.events.end(), "notice read back") == 1;
        EXPECT_EQ(told, holds) << (holds ? "kept: told" : "not kept: the notice would not be true");

        // The same keyboard read back again replaces nothing: nothing to tell.
        rig.host.events.clear();
        rig.TokensMatch(false);
        rig.commands.CheckSyncToken();
        rig.jobs.Run(kJobSynchronise, 0);
        EXPECT_EQ(rig.host.events, (Lines{"keep history", "save", "publish", "notify 1254"}));
    }
}

TEST(Synchronise, RemovalDuringTheReadBackStopsWithoutSaving) {
    Rig rig;
    rig.TokensMatch(false);
    rig.commands.CheckSyncToken();
    rig.keyboard.ClearTrace();
    // The monitor closes the keyboard first, then asks the job to abort.
    rig.clock.At(3050, [&] {
        rig.keyboard.Unplug();
        rig.abort.store(1);
    });
    rig.jobs.Run(kJobSynchronise, 0);
    EXPECT_EQ(rig.host.events, (Lines{"keep history"})) << "kept before the read-back, nothing saved after it";
    EXPECT_EQ(rig.synced.load(), 0);
    EXPECT_EQ(rig.settings.tokensStored, 0);
    EXPECT_LE(rig.clock.NowMs(), 3050u + 100u + 1000u);  // the command in progress, then 100 ms
    EXPECT_TRUE(rig.LinesStartingWith("SET host-state").empty());
}

TEST(Synchronise, UnreadableDeviceInformationFailsAtOnce) {
    Rig rig;
    rig.keyboard.RefuseReads(1);
    rig.synced.store(1);
    rig.jobs.Run(kJobSynchronise, 0);
    EXPECT_EQ(rig.synced.load(), 0);
    EXPECT_TRUE(rig.host.events.empty());
    EXPECT_EQ(rig.clock.NowMs(), 100u);
}

TEST(CurrentProfileJob, WritesTheCurrentProfileOnly) {
    Rig rig;
    rig.state.Record().CurrentProfile = 4;
    rig.jobs.Run(kJobWriteCurrentProfile, 0);
    EXPECT_EQ(rig.Lines(), (Lines{"SET current-profile profile=4"}));
    EXPECT_EQ(rig.keyboard.CurrentProfile(), 4);
}

TEST(RecordedMacro, KeyNumbersOutsideOneTo41DoNothing) {
    for (int key : {0, 42, 300}) {
        Rig rig;
        rig.jobs.Run(kJobReadRecordedMacro, key);
        EXPECT_TRUE(rig.keyboard.Trace().Entries().empty()) << "key " << key;
        EXPECT_TRUE(rig.host.events.empty()) << "key " << key;
    }
}

TEST(RecordedMacro, KeyFiveReadsEntryFourThenPublishesNotifiesIssuesAndSaves) {
    Rig rig;
    rig.keyboard.PressProfileKey(3);
    rig.state.Record().CurrentProfile = 2;
    rig.keyboard.RecordMacro(5, {{0x04, 1, 0}, {0x04, 2, 35}}, "Live");
    rig.keyboard.ClearTrace();
    rig.jobs.Run(kJobReadRecordedMacro, 5);
    EXPECT_EQ(rig.Lines(), (Lines{"SET select profile=2 selector=0x04 macro key=4",
                                  "GET macro profile=2 key=4 actions=2", "SET sync-token"}));
    EXPECT_EQ(rig.keyboard.Trace().Entries().front().timeMicroseconds, 1'500'000u);
    EXPECT_EQ(rig.host.events, (Lines{"publish", "notify 1264 2 4", "save"}));
    EXPECT_EQ(Profile(rig, 2).MacroKeyInfo[4].ActionCount, 2);
    EXPECT_EQ(Profile(rig, 2).MacroKeyInfo[4].Actions[1].DelayMs, 35);
}

TEST(RecordedMacro, FailedReadTellsNoOne) {
    Rig rig;
    rig.keyboard.CorruptMacroReplies(1);
    rig.jobs.Run(kJobReadRecordedMacro, 5);
    EXPECT_TRUE(rig.host.events.empty());
    EXPECT_EQ(rig.settings.tokensStored, 0);
}

}  // namespace
}  // namespace brenik::monitor::device::test
