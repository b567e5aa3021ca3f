// The real Monitor.exe under Wine, against the virtual keyboard, with stand-ins for the
// companion programs: windows with their titles that record what they receive, and the test
// itself opening the shared block and its lock as the settings program does.

#include "event_word.h"
#include "monitor_inbox.h"
#include "monitor_installation_win32.h"
#include "monitor_window_win32.h"
#include "peer_messages.h"
#include "program_windows.h"
#include "shared_block_peer_win32.h"
#include "state_record.h"
#include "wine_test_support.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace brenik::monitor {
namespace {

using test::ChildProcess;
using test::MonitorWindow;
using test::PeerWindows;
using test::TempFolder;

const test::MonitorPrograms g_programs = test::MonitorProgramsFromArguments();

constexpr DWORD kStartTimeoutMs = 15000;
constexpr DWORD kMessageTimeoutMs = 10000;
// The monitor waits 5000 ms after an arrival before it opens the keyboard.
constexpr DWORD kArrivalTimeoutMs = 20000;
// A first start finds no stored sync token and reads every setting back from the keyboard.
constexpr DWORD kFirstSyncTimeoutMs = 60000;

const std::vector<std::string> kCompanionTitles = {kTitleSettings, kTitleOsd,          kTitleVolumeController,
                                                   kTitlePopup,    kTitleSystemGauge,  kTitleCallDisplay};

class Installation : public test::MonitorInstallation {
public:
    explicit Installation(const std::string& pipe)
        : MonitorInstallation("monitor-e2e", g_programs.monitor, g_programs.kbhid, pipe) {}
};

bool AllChangeFlagsClear(const StateRecord& state) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&state);
    for (std::size_t i = offsetof(StateRecord, KeyChanged); i < offsetof(StateRecord, Unused); ++i) {
        if (i >= offsetof(StateRecord, VolumeLevel) && i < offsetof(StateRecord, LightingChanged)) continue;
        if (bytes[i] != 0) return false;
    }
    return true;
}

// The time of the last "HOST close-device" line of a trace file ("<seconds>.<micros> <line>").
std::int64_t LastHostCloseMicroseconds(const std::string& path) {
    std::int64_t last = -1;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return last;
    char line[512];
    while (std::fgets(line, sizeof line, file)) {
        unsigned long long seconds = 0, micros = 0;
        char text[128] = {};
        if (std::sscanf(line, "%llu.%llu %127[^\r\n]", &seconds, &micros, text) == 3 &&
            std::strcmp(text, "HOST close-device") == 0) {
            last = static_cast<std::int64_t>(seconds * 1000000 + micros);
        }
    }
    std::fclose(file);
    return last;
}


TEST(MonitorEndToEnd, RunsResidentFollowsTheKeyboardAndShutsDownInOrder) {
    test::VirtualKeyboardServer keyboard(g_programs.tools, "BrenikE2E-main");
    ASSERT_TRUE(keyboard.Start()) << "virtual keyboard server";
    Installation install(keyboard.Pipe());
    PeerWindows peers(kCompanionTitles);

    ChildProcess monitor;
    ASSERT_TRUE(monitor.Start(install.Monitor(), ""));
    ASSERT_TRUE(test::WaitUntil([&] { return install.DeviceKey() == 1; }, kStartTimeoutMs)) << "\"Device\" = 1 after start-up";
    const HWND window = MonitorWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(GetWindowLongPtrA(window, GWL_EXSTYLE), WS_EX_TOOLWINDOW);

    // A second copy ends at once; the first runs on.
    ChildProcess second;
    ASSERT_TRUE(second.Start(install.Monitor(), "1"));
    EXPECT_EQ(second.Wait(kStartTimeoutMs), 0);
    EXPECT_TRUE(monitor.Running());
    EXPECT_EQ(MonitorWindow(), window);

    // The first synchronisation job runs 200 ms after start-up and ends by telling the volume controller.
    EXPECT_TRUE(peers.WaitFor(kTitleVolumeController, kMsgVolumeSyncDone, 1, kFirstSyncTimeoutMs));

    // The shared block holds the loaded profiles: a first start gives the defaults, and the
    // keyboard's current profile read back by the first synchronisation.
    test::SharedBlockPeer block;
    ASSERT_TRUE(block.Open());
    const std::unique_ptr<StateRecord> published = block.Read();
    EXPECT_EQ(published->CurrentProfile, 0);
    for (int n = 0; n < kProfileCount; ++n) {
        EXPECT_STREQ(published->Profiles[n].ProFileName, ("Default" + std::to_string(n + 1)).c_str());
        EXPECT_EQ(published->Profiles[n].KeyboardSpeed, 31);
        EXPECT_EQ(published->Profiles[n].MacroKeyInfo[7].KeyIndex, 7);
    }
    EXPECT_TRUE(AllChangeFlagsClear(*published));
    EXPECT_TRUE(test::FileExists(install.ProfileFile(0))) << "the first synchronisation saved what it read";

    // 1226 takes the block into the working copy and nothing else; a publish then gives it back unchanged.
    std::unique_ptr<StateRecord> edited = block.Read();
    std::strcpy(edited->Profiles[2].ProFileName, "Edited by the settings program");
    edited->Profiles[2].LtColorRed = 12;
    edited->CurrentProfile = 2;
    block.Write(*edited);
    PostMessageA(window, kMsgRereadShared1, 0, 0);
    PostMessageA(window, kMsgRereadShared2, 0, 0);
    // Windows-key event with key byte 7: no field changes, but a save and a publish follow.
    PostMessageA(window, kMsgKeyEvent, kClassWindowsKey, 0x0107);
    ASSERT_TRUE(peers.WaitFor(kTitleSettings, kMsgWindowsKeyChanged, 1, kMessageTimeoutMs));
    EXPECT_EQ(std::memcmp(block.Read().get(), edited.get(), kStateRecordBytes), 0);
    for (int n = 0; n < kProfileCount; ++n) EXPECT_TRUE(test::FileExists(install.ProfileFile(n))) << n;
    char name[256] = {};
    GetPrivateProfileStringA("Setting", "ProFileName", "", name, sizeof name, install.ProfileFile(2).c_str());
    EXPECT_STREQ(name, "Edited by the settings program");
    EXPECT_EQ(GetPrivateProfileIntA("Setting", "CurrentProfile", -7, install.ConfigIni().c_str()), 2u);

    // Settings changed while attached: job 1 runs and the settings program is told afterwards.
    PostMessageA(window, kMsgSettingsChanged, 0, 0);
    EXPECT_TRUE(peers.WaitFor(kTitleSettings, kMsgEnableButtons, 1, kMessageTimeoutMs));

    // Removal: "Device" = 0, companions closed; a 1224 is answered at once, no job.
    peers.Clear();
    ASSERT_EQ(keyboard.Command("unplug"), 0);
    ASSERT_TRUE(test::WaitUntil([&] { return install.DeviceKey() == 0; }, kMessageTimeoutMs));
    for (const std::string& title : kCompanionTitles) EXPECT_TRUE(peers.WaitFor(title, WM_CLOSE, 1, kMessageTimeoutMs)) << title;
    PostMessageA(window, kMsgSettingsChanged, 0, 0);
    EXPECT_TRUE(peers.WaitFor(kTitleSettings, kMsgEnableButtons, 1, kMessageTimeoutMs));
    EXPECT_EQ(peers.Count(kTitleVolumeController, kMsgVolumeSyncDone), 0);

    // Arrival: the keyboard is opened only after the 5000 ms pause, then synchronised again.
    peers.Clear();
    const ULONGLONG plugged = GetTickCount64();
    ASSERT_EQ(keyboard.Command("plug"), 0);
    ASSERT_TRUE(test::WaitUntil([&] { return install.DeviceKey() == 1; }, kArrivalTimeoutMs));
    EXPECT_GE(GetTickCount64() - plugged, 4900u);
    EXPECT_TRUE(peers.WaitFor(kTitleVolumeController, kMsgVolumeSyncDone, 1, kMessageTimeoutMs));

    // Shutdown: every companion is asked to close before the keyboard is let go, and the
    // process ends. The trace and the peers' log share the machine's performance counter.
    peers.Clear();
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(monitor.Wait(kStartTimeoutMs), 0);
    EXPECT_EQ(MonitorWindow(), nullptr);
    TempFolder traceFolder("monitor-trace");
    ASSERT_EQ(keyboard.Command("trace " + traceFolder.File("trace.txt")), 0);
    const std::int64_t closed = LastHostCloseMicroseconds(traceFolder.File("trace.txt"));
    ASSERT_GT(closed, 0) << "the monitor let go of the keyboard";
    for (const std::string& title : kCompanionTitles) {
        EXPECT_EQ(peers.Count(title, WM_CLOSE), 1) << title;
        for (const PeerWindows::Received& r : peers.Log()) {
            if (r.title == title && r.message == WM_CLOSE) {
                EXPECT_LT(r.microseconds, closed) << title;
            }
        }
    }
}

TEST(MonitorEndToEnd, StartsWithoutTheKeyboardAndEndsOnClose) {
    test::VirtualKeyboardServer keyboard(g_programs.tools, "BrenikE2E-unplugged");
    ASSERT_TRUE(keyboard.Start());
    ASSERT_EQ(keyboard.Command("unplug"), 0);
    Installation install(keyboard.Pipe());
    test::WriteTextFile(install.ConfigIni(), "[Setting]\r\nCurrentProfile=3\r\n");
    PeerWindows peers({kTitleVolumeController, kTitleSettings});

    ChildProcess monitor;
    ASSERT_TRUE(monitor.Start(install.Monitor(), ""));
    ASSERT_TRUE(test::WaitUntil([&] { return install.DeviceKey() == 0; }, kStartTimeoutMs));
    ASSERT_NE(MonitorWindow(), nullptr);
    test::SharedBlockPeer block;
    ASSERT_TRUE(block.Open());
    EXPECT_EQ(block.Read()->CurrentProfile, 3) << "the stored current profile is loaded";
    Sleep(1000);
    EXPECT_EQ(peers.Count(kTitleVolumeController, kMsgVolumeSyncDone), 0) << "no synchronisation without a keyboard";
    PostMessageA(MonitorWindow(), WM_CLOSE, 0, 0);
    EXPECT_EQ(monitor.Wait(kStartTimeoutMs), 0);
}

}  // namespace
}  // namespace brenik::monitor
