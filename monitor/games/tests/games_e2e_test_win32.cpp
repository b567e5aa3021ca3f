// The real Monitor.exe under Wine, against the virtual keyboard, with a stand-in game brought
// to the front. Wine never reports a new foreground window to the monitor's hook, so here the
// game timer (2 s) finds the game; the hook's own path is tested in foreground_win32_test.cpp.
// Listener windows with the settings program's and the display's titles record what they are
// told; the test reads the shared block as the settings program does.

#include "game_in_front_win32.h"
#include "monitor_inbox.h"
#include "monitor_installation_win32.h"
#include "osd_settings_record.h"
#include "peer_messages.h"
#include "program_windows.h"
#include "running_monitor_win32.h"
#include "shared_block_peer_win32.h"
#include "state_record.h"
#include "wine_test_support.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>
#include <string>

namespace brenik::monitor::games {
namespace {

using test::PeerWindows;

const test::MonitorPrograms g_programs = test::MonitorProgramsFromArguments();
const std::string g_standIn = test::ArgumentPath("stand-in");

constexpr DWORD kStartTimeoutMs = 15000;
constexpr DWORD kMessageTimeoutMs = 10000;
constexpr DWORD kGameTimerMs = 2000;
// Long enough for two looks of the game timer.
constexpr DWORD kTwoLooksMs = 2 * kGameTimerMs + 500;
constexpr const char* kSwitchLine = "SET current-profile profile=2";

class Installation : public test::MonitorInstallation {
public:
    explicit Installation(const std::string& pipe)
        : MonitorInstallation("games-e2e", g_programs.monitor, g_programs.kbhid, pipe) {
        // A token that matches the keyboard's (zero until a host writes one): the first
        // synchronisation is two reads instead of a read-back of everything.
        std::array<std::uint8_t, 16> token{};
        WritePrivateProfileStructA("HidAccessCode", "Code", token.data(), token.size(), ConfigIni().c_str());
        OsdSettings settings{};
        settings.ProfileNotice = 1;
        WritePrivateProfileStructA("OSDSetting", "config", &settings, sizeof settings, ConfigIni().c_str());
    }
    int StoredCurrentProfile() const {
        return static_cast<int>(GetPrivateProfileIntA("Setting", "CurrentProfile", -7, ConfigIni().c_str()));
    }
    ULONGLONG ConfigWriteTime() const {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (!GetFileAttributesExA(ConfigIni().c_str(), GetFileExInfoStandard, &data)) return 0;
        return (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
    }
};

// Lines of the keyboard's protocol trace that contain `text`.
int TraceLines(test::VirtualKeyboardServer& keyboard, const std::string& text) {
    std::string trace;
    if (keyboard.Command("trace", &trace) != 0) return -1;
    int count = 0;
    for (std::size_t at = trace.find(text); at != std::string::npos; at = trace.find(text, at + 1)) ++count;
    return count;
}

// What the settings program does after an edit: the block, then 1226, here sent so that the
// monitor has taken it when this returns.
void EditGames(test::SharedBlockPeer& block, HWND monitor, const std::array<const char*, kProfileCount>& games) {
    std::unique_ptr<StateRecord> state = block.Read();
    for (int n = 0; n < kProfileCount; ++n) {
        std::memset(state->Profiles[n].GameFile, 0, sizeof state->Profiles[n].GameFile);
        std::strcpy(state->Profiles[n].GameFile, games[n]);
    }
    block.Write(*state);
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(monitor, kMsgRereadShared1, 0, 0, SMTO_NORMAL, kMessageTimeoutMs, &answer);
}

TEST(GameDetectionEndToEnd, AGameInFrontSwitchesOnceAndTheDisplayProgramNever) {
    test::VirtualKeyboardServer keyboard(g_programs.tools, "BrenikGamesE2E");
    ASSERT_TRUE(keyboard.Start());
    Installation install(keyboard.Pipe());
    test::TempFolder games("games-e2e-programs");
    PeerWindows peers({kTitleSettings, kTitleOsd, kTitleVolumeController});

    test::RunningMonitor monitor;
    ASSERT_TRUE(monitor.Launch(install.Monitor()));
    ASSERT_TRUE(test::WaitUntil([&] { return install.DeviceKey() == 1; }, kStartTimeoutMs));
    ASSERT_TRUE(peers.WaitFor(kTitleVolumeController, kMsgVolumeSyncDone, 1, kMessageTimeoutMs)) << "first synchronisation";
    const HWND window = test::MonitorWindow();
    ASSERT_NE(window, nullptr);
    test::SharedBlockPeer block;
    ASSERT_TRUE(block.Open());
    const int before = block.Read()->CurrentProfile;
    ASSERT_NE(before, 2);

    // Profile 1 names the display program; profiles 2 and 4 name one game in two folders.
    EditGames(block, window,
              {"", "C:\\Program Files\\Brenik\\Brenik OSD.exe", "  D:\\Games\\X\\Game.EXE  ", "", "C:\\Elsewhere\\game.exe"});

    // The display program in front: no switch however long it stays.
    {
        GameInFront display(g_standIn, games.Path(), kProgramOsd);
        ASSERT_TRUE(display.Start(kStartTimeoutMs));
        Sleep(kTwoLooksMs);
        EXPECT_TRUE(display.InFront());
        EXPECT_EQ(block.Read()->CurrentProfile, before);
        EXPECT_EQ(peers.Count(kTitleSettings, kMsgProfileSwitched), 0);
    }

    // The game in front: one switch to the lower profile that names it, end to end.
    ASSERT_EQ(keyboard.Command("trace clear"), 0);
    peers.Clear();
    GameInFront game(g_standIn, games.Path(), "Game.EXE");
    ASSERT_TRUE(game.Start(kStartTimeoutMs));
    ASSERT_TRUE(test::WaitUntil([&] { return block.Read()->CurrentProfile == 2; }, kMessageTimeoutMs));
    EXPECT_TRUE(test::WaitUntil([&] { return install.StoredCurrentProfile() == 2; }, kMessageTimeoutMs));
    EXPECT_TRUE(test::WaitUntil([&] { return TraceLines(keyboard, kSwitchLine) == 1; }, kMessageTimeoutMs))
        << "job 3 wrote the current profile to the keyboard";
    EXPECT_TRUE(peers.WaitFor(kTitleSettings, kMsgProfileSwitched, 1, kMessageTimeoutMs));
    ASSERT_TRUE(peers.WaitFor(kTitleOsd, kMsgOsdShow, 1, kMessageTimeoutMs));
    for (const PeerWindows::Received& r : peers.Log()) {
        if (r.title != kTitleOsd) continue;
        EXPECT_EQ(r.message, kMsgOsdShow);
        EXPECT_EQ(r.wParam, static_cast<WPARAM>(kOsdKindProfile));
        EXPECT_EQ(r.lParam, static_cast<LPARAM>(2) << 16);
    }

    // Later looks find the current profile's game in front and change nothing.
    const ULONGLONG saved = install.ConfigWriteTime();
    Sleep(kTwoLooksMs);
    EXPECT_TRUE(game.InFront());
    EXPECT_EQ(peers.Count(kTitleSettings, kMsgProfileSwitched), 1);
    EXPECT_EQ(peers.Count(kTitleOsd, kMsgOsdShow), 1);
    EXPECT_EQ(TraceLines(keyboard, "SET current-profile"), 1);
    EXPECT_EQ(install.ConfigWriteTime(), saved) << "no save";

    game.Close();
    EXPECT_EQ(monitor.Close(), 0);
}

}  // namespace
}  // namespace brenik::monitor::games
