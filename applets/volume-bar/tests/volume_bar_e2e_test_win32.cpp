// VolumeBar.exe under Wine, started by the real monitor at the keyboard's arrival, against the
// virtual keyboard and the stand-in system volume (Wine's endpoint cannot be set): the
// keyboard's volume control reaches the system's volume, a change of the system's volume
// reaches the keyboard's volume display, and neither comes back as an echo.

#include "keyboard_trace_win32.h"
#include "monitor_installation_win32.h"
#include "running_monitor_win32.h"
#include "volume_bar_messages.h"
#include "wine_test_support.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brenik::volumebar {
namespace {

const test::MonitorPrograms g_programs = test::MonitorProgramsFromArguments();
const std::string g_volumeBar = test::ArgumentPath("volumebar");

constexpr DWORD kStartTimeoutMs = 60000;
constexpr DWORD kAnswerTimeoutMs = 10000;
// Long enough for an echo to have come round (a post, a job and a report) had there been one.
constexpr DWORD kQuietMs = 2000;
// The controller's title, written out: the monitor finds it by this.
constexpr const char* kControllerTitle = "Brenik Volume Controller";
constexpr const char* kMonitorTitle = "BrenikGamingKeyboardMonitor";

std::vector<std::string> VolumeReports(test::VirtualKeyboardServer& keyboard) {
    std::vector<std::string> reports;
    for (const std::string& line : test::AcceptedCommands(test::ReadKeyboardTrace(keyboard))) {
        if (line.rfind("SET volume", 0) == 0) reports.push_back(line);
    }
    return reports;
}

int StandInLevel(const std::string& file) {
    return static_cast<int>(GetPrivateProfileIntA("SystemVolume", "Level", -1, file.c_str()));
}

TEST(VolumeBarEndToEnd, TheKeyboardAndTheSystemVolumeFollowEachOtherWithoutAnEcho) {
    test::VirtualKeyboardServer keyboard(g_programs.tools, "BrenikVolumeBarE2E");
    ASSERT_TRUE(keyboard.Start());
    test::MonitorInstallation install("volume-bar-e2e", g_programs.monitor, g_programs.kbhid, keyboard.Pipe());
    const std::string applets = install.Folder() + "Applets\\";
    CreateDirectoryA(applets.c_str(), nullptr);
    ASSERT_TRUE(test::CopyInto(g_volumeBar, applets));
    const std::string level = install.Folder() + "system-volume.ini";
    ASSERT_TRUE(test::WriteTextFile(level, "[SystemVolume]\r\nLevel=63\r\n"));
    ASSERT_TRUE(test::WriteTextFile(applets + "VolumeBar.ini", "[SystemVolume]\r\nType=stand-in\r\nFile=" + level + "\r\n"));

    // The monitor starts the controller at the keyboard's arrival; at the end of the first
    // synchronisation (1330) the keyboard learns the system's level.
    test::RunningMonitor monitor;
    ASSERT_TRUE(monitor.Launch(install.Monitor()));
    HWND controller = nullptr;
    ASSERT_TRUE(test::WaitUntil([&] { return (controller = FindWindowA(nullptr, kControllerTitle)) != nullptr; },
                                kStartTimeoutMs));
    ASSERT_TRUE(test::WaitUntil([&] { return !VolumeReports(keyboard).empty(); }, kStartTimeoutMs));
    EXPECT_NE(VolumeReports(keyboard).front().find("volume=63"), std::string::npos) << VolumeReports(keyboard).front();

    // The keyboard's volume control turned twice: the system's volume follows, nothing comes back.
    ASSERT_EQ(keyboard.Command("trace clear"), 0);
    ASSERT_EQ(keyboard.Command("volume 40"), 0);
    ASSERT_EQ(keyboard.Command("volume 41"), 0);
    EXPECT_TRUE(test::WaitUntil([&] { return StandInLevel(level) == 41; }, kAnswerTimeoutMs));
    Sleep(kQuietMs);
    EXPECT_TRUE(VolumeReports(keyboard).empty()) << "an echo of the keyboard's own change";

    // Another program changes the system's volume: the keyboard's display follows, once.
    ASSERT_TRUE(test::WriteTextFile(level, "[SystemVolume]\r\nLevel=25\r\n"));
    PostMessageA(controller, kMsgStandInChanged, 0, 0);
    ASSERT_TRUE(test::WaitUntil([&] { return !VolumeReports(keyboard).empty(); }, kAnswerTimeoutMs));
    Sleep(kQuietMs);
    const std::vector<std::string> reports = VolumeReports(keyboard);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("volume=25"), std::string::npos) << reports[0];
    EXPECT_EQ(StandInLevel(level), 25) << "the system keeps its own value";

    // A second start ends at once and leaves one controller; WM_CLOSE ends it.
    EXPECT_EQ(test::RunProgram(applets + "VolumeBar.exe", "", test::ErrorStream::kWithOutput, 10000).status, 0);
    int windows = 0;
    for (HWND found = nullptr; (found = FindWindowExA(nullptr, found, nullptr, kControllerTitle)) != nullptr;) ++windows;
    EXPECT_EQ(windows, 1);
    PostMessageA(controller, WM_CLOSE, 0, 0);
    EXPECT_TRUE(test::WaitUntil([&] { return FindWindowA(nullptr, kControllerTitle) == nullptr; }, kAnswerTimeoutMs));
    EXPECT_EQ(monitor.Close(), 0);
}

// Wine's endpoint (a null device, or none) refuses a set: the controller says so and goes on.
TEST(VolumeBarEndToEnd, TheSystemsOwnVolumeRefusingIsSaidAndNothingElseBreaks) {
    test::TempFolder folder("volume-bar-endpoint");
    ASSERT_TRUE(test::CopyInto(g_volumeBar, folder.Path()));
    test::PeerWindows monitor({kMonitorTitle});
    test::ChildProcess controller;
    ASSERT_TRUE(controller.Start(folder.File("VolumeBar.exe"), ""));
    HWND window = nullptr;
    ASSERT_TRUE(test::WaitUntil([&] { return (window = FindWindowA(nullptr, kControllerTitle)) != nullptr; }, kAnswerTimeoutMs));
    PostMessageA(window, 1331, 40, 0);
    PostMessageA(window, 1330, 1, 0);
    Sleep(kQuietMs);  // the posted messages handled, whatever the system answered
    DWORD_PTR answer = 0;
    EXPECT_NE(SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_BLOCK, kAnswerTimeoutMs, &answer), 0) << "still answers";
    // Wine has no audio device whose volume can be read: nothing to tell the monitor.
    EXPECT_TRUE(monitor.Log().empty()) << "a level from a system without a device";
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(controller.Wait(kAnswerTimeoutMs), 0);
}

}  // namespace
}  // namespace brenik::volumebar
