// BrenikSettings.exe under Wine against the real Monitor.exe and the virtual keyboard: what
// a change sends to the keyboard (read from the keyboard's trace), what reaches the profile
// files, and the refusals (no monitor, a value out of range, the settings program open).

#include "history_copy.h"
#include "keyboard_trace_win32.h"
#include "monitor_installation_win32.h"
#include "peer_messages.h"
#include "program_windows.h"
#include "running_monitor_win32.h"
#include "shared_block_peer_win32.h"
#include "state_record.h"
#include "wine_test_support.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace brenik::settings {
namespace {

const test::MonitorPrograms g_programs = test::MonitorProgramsFromArguments();
const std::string g_settingsTool = test::ArgumentPath("settings");

constexpr DWORD kStartTimeoutMs = 15000;
constexpr DWORD kFirstSyncTimeoutMs = 60000;
constexpr DWORD kSaveTimeoutMs = 10000;

constexpr DWORD kToolTimeoutMs = 60000;

// Runs the tool to its end with standard output and standard error kept apart.
test::ProgramRun RunTool(const std::string& exe, const std::string& arguments) {
    test::ProgramRun run = test::RunProgram(exe, arguments, test::ErrorStream::kApart, kToolTimeoutMs);
    // The console's text mode writes CRLF; the tests compare lines.
    for (std::string* text : {&run.output, &run.errors}) text->erase(std::remove(text->begin(), text->end(), '\r'), text->end());
    return run;
}

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

using test::Joined;
using test::SettingsWrites;

bool StartsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

class SettingsToolEndToEnd : public ::testing::Test {
protected:
    SettingsToolEndToEnd()
        : keyboard(g_programs.tools, "BrenikSettingsE2E"), peers({kTitleVolumeController}) {}

    void StartMonitor() {
        ASSERT_TRUE(keyboard.Start()) << "virtual keyboard server";
        install = std::make_unique<test::MonitorInstallation>("settings-e2e", g_programs.monitor, g_programs.kbhid, keyboard.Pipe());
        ASSERT_TRUE(test::CopyInto(g_settingsTool, install->Folder()));
        tool = install->Folder() + "BrenikSettings.exe";
        ASSERT_TRUE(monitor.Launch(install->Monitor()));
        ASSERT_TRUE(test::WaitUntil([&] { return install->DeviceKey() == 1; }, kStartTimeoutMs));
        ASSERT_TRUE(peers.WaitFor(kTitleVolumeController, kMsgVolumeSyncDone, 1, kFirstSyncTimeoutMs)) << "first synchronisation";
    }
    void StopMonitor() { EXPECT_EQ(monitor.Close(), 0); }
    // The same installation started again; its first synchronisation is awaited.
    void RestartMonitor() {
        peers.Clear();
        ASSERT_TRUE(monitor.Launch(install->Monitor()));
        ASSERT_TRUE(peers.WaitFor(kTitleVolumeController, kMsgVolumeSyncDone, 1, kFirstSyncTimeoutMs)) << "synchronisation";
    }
    test::ProgramRun Tool(const std::string& arguments) { return RunTool(tool, arguments); }

    test::VirtualKeyboardServer keyboard;
    test::PeerWindows peers;
    std::unique_ptr<test::MonitorInstallation> install;
    test::RunningMonitor monitor;
    std::string tool;
};

TEST_F(SettingsToolEndToEnd, ChangesSendExactlyTheirReportsAndReachTheFilesAtOnce) {
    ASSERT_NO_FATAL_FAILURE(StartMonitor());

    const test::ProgramRun list = Tool("list");
    EXPECT_EQ(list.status, 0) << list.errors;
    EXPECT_NE(list.output.find("* 1  Default1"), std::string::npos) << list.output;
    EXPECT_TRUE(list.errors.empty()) << list.errors;

    // A lighting colour: the lighting report of that profile and the sync token, nothing else.
    ASSERT_EQ(keyboard.Command("trace clear"), 0);
    const test::ProgramRun red = Tool("set 2 key-red 12");
    ASSERT_EQ(red.status, 0) << red.output << red.errors;
    EXPECT_NE(red.output.find("LightingChanged[1]"), std::string::npos) << red.output;
    std::vector<std::string> writes = SettingsWrites(keyboard);
    ASSERT_EQ(writes.size(), 2u) << Joined(writes);
    EXPECT_EQ(writes[0], "SET lighting profile=1");
    EXPECT_TRUE(StartsWith(writes[1], "SET sync-token")) << writes[1];

    // A macro on key 5: its key block, its macro entry and the sync token.
    ASSERT_EQ(keyboard.Command("trace clear"), 0);
    const test::ProgramRun macro = Tool("--json key 1 5 macro Combo \"+LShift 10, +A 50, -A, -LShift\"");
    ASSERT_EQ(macro.status, 0) << macro.output << macro.errors;
    EXPECT_NE(macro.output.find("\"flags\":[\"KeyChanged[0][4]\"],\"answered\":true"), std::string::npos) << macro.output;
    writes = SettingsWrites(keyboard);
    ASSERT_EQ(writes.size(), 3u) << Joined(writes);
    EXPECT_EQ(writes[0], "SET key-functions-0-11 profile=0");
    EXPECT_EQ(writes[1], "SET macro profile=0 key=4 actions=4");
    EXPECT_TRUE(StartsWith(writes[2], "SET sync-token")) << writes[2];

    // A monitor-only field sends nothing but the token.
    ASSERT_EQ(keyboard.Command("trace clear"), 0);
    EXPECT_EQ(Tool("set 3 name Racing").status, 0);
    writes = SettingsWrites(keyboard);
    ASSERT_EQ(writes.size(), 1u) << Joined(writes);
    EXPECT_TRUE(StartsWith(writes[0], "SET sync-token"));

    // Every change is in the files as soon as the monitor has answered.
    const std::string profile1 = install->ProfileFile(1);
    EXPECT_EQ(GetPrivateProfileIntA("Setting", "LtColorRed", -7, profile1.c_str()), 12);
    ASSERT_EQ(keyboard.Command("profile 3"), 0);
    EXPECT_TRUE(test::WaitUntil([&] { return GetPrivateProfileIntA("Setting", "CurrentProfile", -7, install->ConfigIni().c_str()) == 2; },
                                kSaveTimeoutMs));
    StopMonitor();

    // With the monitor gone, show reads the files, and says so.
    const test::ProgramRun show2 = Tool("show 2");
    EXPECT_EQ(show2.status, 0);
    EXPECT_NE(show2.output.find("  key-red                 12\n"), std::string::npos) << show2.output;
    EXPECT_NE(show2.errors.find("reading the profile files"), std::string::npos) << show2.errors;
    const test::ProgramRun show1 = Tool("show 1");
    EXPECT_NE(show1.output.find("key 5   macro \"Combo\": +LShift 10, +A 50, -A, -LShift"), std::string::npos) << show1.output;
    EXPECT_NE(Tool("list").output.find("* 3  Racing"), std::string::npos);

    // No monitor: refused with its status, and nothing written anywhere.
    const std::string before = FileText(profile1);
    const test::ProgramRun refused = Tool("set 2 key-red 40");
    EXPECT_EQ(refused.status, 4);
    EXPECT_TRUE(refused.output.empty()) << refused.output;
    EXPECT_NE(refused.errors.find("monitor is not running"), std::string::npos) << refused.errors;
    EXPECT_EQ(FileText(profile1), before);
}

TEST_F(SettingsToolEndToEnd, RefusesOutOfRangeValuesAndDefersToAnOpenSettingsProgram) {
    ASSERT_NO_FATAL_FAILURE(StartMonitor());
    test::SharedBlockPeer block;
    ASSERT_TRUE(block.Open());

    const std::unique_ptr<StateRecord> before = block.Read();
    const test::ProgramRun outOfRange = Tool("set 1 repeat-speed 32");
    EXPECT_EQ(outOfRange.status, 3);
    EXPECT_TRUE(outOfRange.output.empty());
    EXPECT_NE(outOfRange.errors.find("repeat-speed"), std::string::npos) << outOfRange.errors;
    EXPECT_EQ(Tool("import 1 C:\\no-such-file.cmp").status, 3);
    EXPECT_EQ(std::memcmp(block.Read().get(), before.get(), kStateRecordBytes), 0) << "the block is byte-identical";

    // Another run holds the change turn past the time limit: nothing is written.
    {
        const win32::ScopedHandle turn(CreateMutexA(nullptr, TRUE, kSettingsToolMutex));
        ASSERT_TRUE(turn.Valid());
        const test::ProgramRun waited = Tool("--json --timeout 1 set 2 key-red 30");
        EXPECT_EQ(waited.status, 1) << waited.errors;
        EXPECT_NE(waited.errors.find("another BrenikSettings run"), std::string::npos) << waited.errors;
        EXPECT_NE(waited.output.find("\"status\":1}"), std::string::npos) << waited.output;
        ReleaseMutex(turn.Get());
    }
    EXPECT_EQ(std::memcmp(block.Read().get(), before.get(), kStateRecordBytes), 0) << "still byte-identical";

    // The settings program's window is there: the change is applied, the answer goes to it.
    test::PeerWindows settingsProgram({kTitleSettings});
    ASSERT_EQ(keyboard.Command("trace clear"), 0);
    // The first synchronisation read the locks back from the keyboard: turn whatever it holds around.
    const bool capsLocked = before->Profiles[0].CapsLock == 1;
    const test::ProgramRun locked = Tool(std::string("set 1 lock-caps-lock ") + (capsLocked ? "off" : "on"));
    EXPECT_EQ(locked.status, 0) << locked.errors;
    EXPECT_NE(locked.errors.find("without waiting"), std::string::npos) << locked.errors;
    EXPECT_TRUE(settingsProgram.WaitFor(kTitleSettings, kMsgEnableButtons, 1, 10000));
    EXPECT_EQ(block.Read()->Profiles[0].CapsLock, capsLocked ? 0 : 1);
    const std::vector<std::string> writes = SettingsWrites(keyboard);
    ASSERT_EQ(writes.size(), 2u) << Joined(writes);
    EXPECT_TRUE(StartsWith(writes[0], "SET locked-keys profile=0 ")) << writes[0];
    EXPECT_TRUE(StartsWith(writes[1], "SET sync-token")) << writes[1];
    StopMonitor();
}

TEST_F(SettingsToolEndToEnd, AReadBackKeepsTheProfilesInTheHistoryAndRestoreBringsThemBack) {
    ASSERT_NO_FATAL_FAILURE(StartMonitor());
    ASSERT_EQ(Tool("set 1 name Raid").status, 0);
    ASSERT_EQ(Tool("set 2 key-red 12").status, 0);
    ASSERT_EQ(Tool("key 1 5 macro Combo \"+A 50, -A\"").status, 0);
    std::vector<std::string> before;
    for (int n = 0; n < kProfileCount; ++n) before.push_back(FileText(install->ProfileFile(n)));
    StopMonitor();

    // A firmware update cleared the keyboard's memory: its token no longer matches, and the
    // monitor reads its (default) settings back over the profiles.
    ASSERT_EQ(keyboard.Command("factory-reset"), 0);
    ASSERT_NO_FATAL_FAILURE(RestartMonitor());
    EXPECT_EQ(GetPrivateProfileIntA("Setting", "LtColorRed", -7, install->ProfileFile(1).c_str()), 255)
        << "the profiles hold the keyboard's content";
    char notice[200] = {};
    GetPrivateProfileStringA("OSDData", "Message", "", notice, sizeof notice, install->ConfigIni().c_str());
    EXPECT_STREQ(notice, "Profiles read from the keyboard; the previous ones are kept in History");

    // The history holds the profiles as they were, byte for byte.
    const test::ProgramRun listed = Tool("--json history");
    ASSERT_EQ(listed.status, 0) << listed.errors;
    EXPECT_NE(listed.output.find("\"reason\":\"read-back\""), std::string::npos) << listed.output;
    // The keyboard holds no names: the monitor kept its own.
    EXPECT_NE(listed.output.find("\"differs\":\"Profile 1: key 5; Profile 2: lighting\""), std::string::npos) << listed.output;
    // The first save of the day kept the files as the monitor first wrote them; the read-back is newer.
    const std::vector<std::string> copies = test::FilesIn(install->Folder() + "config\\History\\", "*.bkh");
    ASSERT_EQ(copies.size(), 2u);
    EXPECT_NE(copies[0].find("-daily.bkh"), std::string::npos) << copies[0];
    history::HistoryCopy kept;
    std::string error;
    ASSERT_TRUE(history::DecodeHistoryCopy(FileText(copies[1]), kept, error)) << error;
    EXPECT_EQ(kept.reason, history::HistoryReason::kReadBack);
    for (int n = 0; n < kProfileCount; ++n) {
        const history::HistoryFile* file = kept.Find("config\\Default" + std::to_string(n) + ".cmp");
        ASSERT_NE(file, nullptr);
        EXPECT_EQ(file->bytes, before[n]) << "profile file " << n;
    }

    // restore 1: the keyboard gets exactly what differs, and the files are as they were.
    ASSERT_EQ(keyboard.Command("trace clear"), 0);
    const test::ProgramRun restored = Tool("restore 1");
    ASSERT_EQ(restored.status, 0) << restored.output << restored.errors;
    EXPECT_NE(restored.errors.find("kept in the history"), std::string::npos) << restored.errors;
    const std::vector<std::string> writes = SettingsWrites(keyboard);
    ASSERT_EQ(writes.size(), 4u) << Joined(writes);
    EXPECT_EQ(writes[0], "SET key-functions-0-11 profile=0");
    EXPECT_EQ(writes[1], "SET macro profile=0 key=4 actions=2");
    EXPECT_EQ(writes[2], "SET lighting profile=1");
    EXPECT_TRUE(StartsWith(writes[3], "SET sync-token")) << writes[3];
    for (int n = 0; n < kProfileCount; ++n) EXPECT_EQ(FileText(install->ProfileFile(n)), before[n]) << "profile file " << n;
    EXPECT_EQ(test::FilesIn(install->Folder() + "config\\History\\", "*.bkh").size(), 3u) << "the read-back's content kept too";
    StopMonitor();
}

}  // namespace
}  // namespace brenik::settings
