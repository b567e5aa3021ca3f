// BrenikSettings.exe under Wine against the real Monitor.exe and the virtual keyboard: what
// a change sends to the keyboard (read from the keyboard's trace), what reaches the profile
// files, and the refusals (no monitor, a value out of range, the settings program open).

#include "keyboard_trace_win32.h"
#include "monitor_installation_win32.h"
#include "peer_messages.h"
#include "program_windows.h"
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
#include <thread>
#include <vector>

namespace brenik::settings {
namespace {

test::MonitorPrograms g_programs;
std::string g_settingsTool;

constexpr DWORD kStartTimeoutMs = 15000;
constexpr DWORD kFirstSyncTimeoutMs = 60000;
constexpr DWORD kSaveTimeoutMs = 10000;

struct ToolRun {
    long status = -1;
    std::string out;
    std::string err;
};

// Runs the tool to its end with standard output and standard error kept apart.
ToolRun RunTool(const std::string& exe, const std::string& arguments) {
    ToolRun run;
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    HANDLE outRead = nullptr, outWrite = nullptr, errRead = nullptr, errWrite = nullptr;
    if (!CreatePipe(&outRead, &outWrite, &inheritable, 0) || !CreatePipe(&errRead, &errWrite, &inheritable, 0)) return run;
    win32::ScopedHandle outReader(outRead), outWriter(outWrite), errReader(errRead), errWriter(errWrite);
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
    std::string commandLine = "\"" + exe + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = outWrite;
    startup.hStdError = errWrite;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info)) {
        return run;
    }
    win32::ScopedHandle process(info.hProcess), thread(info.hThread);
    outWriter.Reset();
    errWriter.Reset();
    auto drain = [](HANDLE pipe, std::string& text) {
        char chunk[4096];
        DWORD got = 0;
        while (ReadFile(pipe, chunk, sizeof chunk, &got, nullptr) && got > 0) text.append(chunk, got);
    };
    std::thread outThread(drain, outRead, std::ref(run.out));
    std::thread errThread(drain, errRead, std::ref(run.err));
    const bool ended = WaitForSingleObject(process.Get(), 60000) == WAIT_OBJECT_0;
    if (!ended) TerminateProcess(process.Get(), 99);
    outThread.join();
    errThread.join();
    DWORD code = 0;
    GetExitCodeProcess(process.Get(), &code);
    run.status = ended ? static_cast<long>(code) : -1;
    // The console's text mode writes CRLF; the tests compare lines.
    for (std::string* text : {&run.out, &run.err}) text->erase(std::remove(text->begin(), text->end(), '\r'), text->end());
    return run;
}

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The settings reports the keyboard accepted since the trace was cleared (status polls,
// host notes and reads left out).
std::vector<std::string> SettingsWrites(test::VirtualKeyboardServer& keyboard) {
    std::vector<std::string> writes;
    for (const std::string& line : test::AcceptedCommands(test::ReadKeyboardTrace(keyboard))) {
        if (line.rfind("SET ", 0) == 0) writes.push_back(line);
    }
    return writes;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

bool StartsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

class SettingsToolEndToEnd : public ::testing::Test {
protected:
    SettingsToolEndToEnd()
        : keyboard(g_programs.tools, "BrenikSettingsE2E"), peers({kTitleVolumeController}) {}

    void StartMonitor() {
        ASSERT_TRUE(keyboard.Start()) << "virtual keyboard server";
        install = std::make_unique<test::MonitorInstallation>("settings-e2e", g_programs.monitor, g_programs.kbhid, keyboard.Pipe());
        const std::string monitorExe = install->Monitor();
        folder = monitorExe.substr(0, monitorExe.find_last_of('\\') + 1);
        ASSERT_TRUE(test::CopyInto(g_settingsTool, folder));
        tool = folder + "BrenikSettings.exe";
        ASSERT_TRUE(monitor.Start(monitorExe, ""));
        ASSERT_TRUE(test::WaitUntil([&] { return install->DeviceKey() == 1; }, kStartTimeoutMs));
        ASSERT_TRUE(peers.WaitFor(kTitleVolumeController, kMsgVolumeSyncDone, 1, kFirstSyncTimeoutMs)) << "first synchronisation";
    }
    void StopMonitor() {
        PostMessageA(FindWindowA(nullptr, kTitleMonitor), WM_CLOSE, 0, 0);
        EXPECT_EQ(monitor.Wait(kStartTimeoutMs), 0);
    }
    ToolRun Tool(const std::string& arguments) { return RunTool(tool, arguments); }

    test::VirtualKeyboardServer keyboard;
    test::PeerWindows peers;
    std::unique_ptr<test::MonitorInstallation> install;
    test::ChildProcess monitor;
    std::string folder;
    std::string tool;
};

TEST_F(SettingsToolEndToEnd, ChangesSendExactlyTheirReportsAndReachTheFilesAtTheNextSave) {
    ASSERT_NO_FATAL_FAILURE(StartMonitor());

    const ToolRun list = Tool("list");
    EXPECT_EQ(list.status, 0) << list.err;
    EXPECT_NE(list.out.find("* 1  Default1"), std::string::npos) << list.out;
    EXPECT_TRUE(list.err.empty()) << list.err;

    // A lighting colour: the lighting report of that profile and the sync token, nothing else.
    ASSERT_EQ(keyboard.Command("trace clear"), 0);
    const ToolRun red = Tool("set 2 key-red 12");
    ASSERT_EQ(red.status, 0) << red.out << red.err;
    EXPECT_NE(red.out.find("LightingChanged[1]"), std::string::npos) << red.out;
    std::vector<std::string> writes = SettingsWrites(keyboard);
    ASSERT_EQ(writes.size(), 2u) << Joined(writes);
    EXPECT_EQ(writes[0], "SET lighting profile=1");
    EXPECT_TRUE(StartsWith(writes[1], "SET sync-token")) << writes[1];

    // A macro on key 5: its key block, its macro entry and the sync token.
    ASSERT_EQ(keyboard.Command("trace clear"), 0);
    const ToolRun macro = Tool("--json key 1 5 macro Combo \"+LShift 10, +A 50, -A, -LShift\"");
    ASSERT_EQ(macro.status, 0) << macro.out << macro.err;
    EXPECT_NE(macro.out.find("\"flags\":[\"KeyChanged[0][4]\"],\"answered\":true"), std::string::npos) << macro.out;
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

    // Nothing is saved yet; a profile key on the keyboard makes the monitor save every profile.
    ASSERT_EQ(keyboard.Command("profile 3"), 0);
    const std::string profile1 = install->ProfileFile(1);
    EXPECT_TRUE(test::WaitUntil([&] { return GetPrivateProfileIntA("Setting", "LtColorRed", -7, profile1.c_str()) == 12; },
                                kSaveTimeoutMs));
    StopMonitor();

    // With the monitor gone, show reads the files, and says so.
    const ToolRun show2 = Tool("show 2");
    EXPECT_EQ(show2.status, 0);
    EXPECT_NE(show2.out.find("  key-red                 12\n"), std::string::npos) << show2.out;
    EXPECT_NE(show2.err.find("reading the profile files"), std::string::npos) << show2.err;
    const ToolRun show1 = Tool("show 1");
    EXPECT_NE(show1.out.find("key 5   macro \"Combo\": +LShift 10, +A 50, -A, -LShift"), std::string::npos) << show1.out;
    EXPECT_NE(Tool("list").out.find("* 3  Racing"), std::string::npos);

    // No monitor: refused with its status, and nothing written anywhere.
    const std::string before = FileText(profile1);
    const ToolRun refused = Tool("set 2 key-red 40");
    EXPECT_EQ(refused.status, 4);
    EXPECT_TRUE(refused.out.empty()) << refused.out;
    EXPECT_NE(refused.err.find("monitor is not running"), std::string::npos) << refused.err;
    EXPECT_EQ(FileText(profile1), before);
}

TEST_F(SettingsToolEndToEnd, RefusesOutOfRangeValuesAndDefersToAnOpenSettingsProgram) {
    ASSERT_NO_FATAL_FAILURE(StartMonitor());
    test::SharedBlockPeer block;
    ASSERT_TRUE(block.Open());

    const std::unique_ptr<StateRecord> before = block.Read();
    const ToolRun outOfRange = Tool("set 1 repeat-speed 32");
    EXPECT_EQ(outOfRange.status, 3);
    EXPECT_TRUE(outOfRange.out.empty());
    EXPECT_NE(outOfRange.err.find("repeat-speed"), std::string::npos) << outOfRange.err;
    EXPECT_EQ(Tool("import 1 C:\\no-such-file.cmp").status, 3);
    EXPECT_EQ(std::memcmp(block.Read().get(), before.get(), kStateRecordBytes), 0) << "the block is byte-identical";

    // Another run holds the change turn past the time limit: nothing is written.
    {
        const win32::ScopedHandle turn(CreateMutexA(nullptr, TRUE, kSettingsToolMutex));
        ASSERT_TRUE(turn.Valid());
        const ToolRun waited = Tool("--json --timeout 1 set 2 key-red 30");
        EXPECT_EQ(waited.status, 1) << waited.err;
        EXPECT_NE(waited.err.find("another BrenikSettings run"), std::string::npos) << waited.err;
        EXPECT_NE(waited.out.find("\"status\":1}"), std::string::npos) << waited.out;
        ReleaseMutex(turn.Get());
    }
    EXPECT_EQ(std::memcmp(block.Read().get(), before.get(), kStateRecordBytes), 0) << "still byte-identical";

    // The settings program's window is there: the change is applied, the answer goes to it.
    test::PeerWindows settingsProgram({kTitleSettings});
    ASSERT_EQ(keyboard.Command("trace clear"), 0);
    // The first synchronisation read the locks back from the keyboard: turn whatever it holds around.
    const bool capsLocked = before->Profiles[0].CapsLock == 1;
    const ToolRun locked = Tool(std::string("set 1 lock-caps-lock ") + (capsLocked ? "off" : "on"));
    EXPECT_EQ(locked.status, 0) << locked.err;
    EXPECT_NE(locked.err.find("without waiting"), std::string::npos) << locked.err;
    EXPECT_TRUE(settingsProgram.WaitFor(kTitleSettings, kMsgEnableButtons, 1, 10000));
    EXPECT_EQ(block.Read()->Profiles[0].CapsLock, capsLocked ? 0 : 1);
    const std::vector<std::string> writes = SettingsWrites(keyboard);
    ASSERT_EQ(writes.size(), 2u) << Joined(writes);
    EXPECT_TRUE(StartsWith(writes[0], "SET locked-keys profile=0 ")) << writes[0];
    EXPECT_TRUE(StartsWith(writes[1], "SET sync-token")) << writes[1];
    StopMonitor();
}

}  // namespace
}  // namespace brenik::settings

int main(int argc, char** argv) {
    brenik::settings::g_programs = brenik::test::MonitorProgramsFromArguments(argc, argv);
    brenik::settings::g_settingsTool = brenik::test::ArgumentPath(argc, argv, "settings");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
