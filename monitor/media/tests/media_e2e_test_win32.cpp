// The real Monitor.exe under Wine with stand-in media players: the stand-in program
// (media_player_stand_in.exe) copied to the paths the players register, registry values set
// with reg.exe (VLC's in the 32-bit view only), a window of the test's own in the foreground
// that records the synthesised system keys, and media-key events handed to the monitor's
// window as kbhid.dll hands them. One monitor serves every case, in order; the profile's
// "MediaOption" is changed through the shared block as the settings program changes it.

#include "event_word.h"
#include "monitor_inbox.h"
#include "monitor_installation_win32.h"
#include "running_monitor_win32.h"
#include "shared_block_peer_win32.h"
#include "state_record.h"
#include "window_thread_win32.h"
#include "wine_test_support.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace brenik::monitor::media {
namespace {

using test::ChildProcess;

const test::MonitorPrograms g_programs = test::MonitorProgramsFromArguments();
const std::string g_standIn = test::ArgumentPath("stand-in");

constexpr DWORD kStartTimeoutMs = 15000;
constexpr DWORD kEventTimeoutMs = 5000;
constexpr DWORD kQuietMs = 500;  // how long "nothing more happens" is watched
constexpr DWORD kPauseSlackMs = 90;

constexpr int kOptionNone = -1, kOptionWmp = 0, kOptionITunes = 1, kOptionVlc = 2, kOptionWinamp = 3;

// The stand-in's classes and titles (written here once more, not taken from the monitor).
constexpr const char* kVlcTitle = "Stand-in - VLC media player";
constexpr const char* kVlcDecoyTitle = "Qt tool window";
constexpr const char* kWmpTitle = "Windows Media Player";
constexpr const char* kWinampClass = "Winamp v1.x";
constexpr UINT kMsgStandInHang = WM_APP + 1;

// The registered keys, below HKEY_LOCAL_MACHINE, and what the test removes again.
constexpr const char* kWinampKey = "SOFTWARE\\Classes\\Winamp.File\\shell\\open\\command";
constexpr const char* kWinampOwnKey = "SOFTWARE\\Classes\\Winamp.File";
constexpr const char* kVlcKey = "SOFTWARE\\Classes\\Applications\\vlc.exe\\shell\\play\\command";
constexpr const char* kVlcOwnKey = "SOFTWARE\\Classes\\Applications\\vlc.exe";
constexpr const char* kWmpKey = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\wmplayer.exe";
constexpr const char* kITunesOwnKey = "SOFTWARE\\Apple Computer, Inc.";

// ---- The stand-ins' log: "<ms> <who> <what>".

struct LogLine {
    ULONGLONG ms = 0;
    std::string who;
    std::string what;
};

std::vector<LogLine> ReadLog(const std::string& path) {
    std::vector<LogLine> lines;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return lines;
    char text[512];
    while (std::fgets(text, sizeof text, file)) {
        unsigned long long ms = 0;
        char who[64] = {}, what[400] = {};
        if (std::sscanf(text, "%llu %63s %399[^\r\n]", &ms, who, what) == 3) lines.push_back({ms, who, what});
    }
    std::fclose(file);
    return lines;
}

// Lines of one stand-in whose text starts with `prefix`.
std::vector<LogLine> LinesOf(const std::string& path, const std::string& who, const std::string& prefix = "") {
    std::vector<LogLine> found;
    for (const LogLine& line : ReadLog(path)) {
        if (line.who == who && line.what.compare(0, prefix.size(), prefix) == 0) found.push_back(line);
    }
    return found;
}

// ---- The foreground window that records the keys it is given.

class KeyRecorder {
public:
    struct Key {
        UINT message;
        WPARAM virtualKey;
        LPARAM lParam;
    };

    KeyRecorder()
        : window_("BrenikMediaKeyRecorder",
                  {test::WindowLayout{"Media key recorder", WS_OVERLAPPEDWINDOW, 40, 400, 300, 120, true}},
                  [this](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
                      *result = 0;
                      return Handle(hwnd, message, wParam, lParam);
                  }) {}
    KeyRecorder(const KeyRecorder&) = delete;
    KeyRecorder& operator=(const KeyRecorder&) = delete;

    // Asks the window's own thread to take the foreground, and waits until it has it.
    bool TakeForeground() {
        const HWND hwnd = window_.Window(0);
        PostMessageA(hwnd, kMsgTakeForeground, 0, 0);
        return test::WaitUntil([&] { return GetForegroundWindow() == hwnd; }, kEventTimeoutMs);
    }
    std::vector<Key> Keys() const {
        std::lock_guard<std::mutex> hold(lock_);
        return keys_;
    }
    int Count(UINT message, WPARAM virtualKey) const {
        int count = 0;
        for (const Key& key : Keys()) count += key.message == message && key.virtualKey == virtualKey;
        return count;
    }
    bool WaitFor(UINT message, WPARAM virtualKey, int count) const {
        return test::WaitUntil([&] { return Count(message, virtualKey) >= count; }, kEventTimeoutMs);
    }
    void Clear() {
        std::lock_guard<std::mutex> hold(lock_);
        keys_.clear();
    }

private:
    static constexpr UINT kMsgTakeForeground = WM_APP + 7;

    // Records the keys; takes the foreground when asked on its own thread.
    bool Handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_KEYDOWN || message == WM_KEYUP || message == WM_SYSKEYDOWN || message == WM_SYSKEYUP) {
            std::lock_guard<std::mutex> hold(lock_);
            keys_.push_back({message, wParam, lParam});
            return true;
        }
        if (message == kMsgTakeForeground) {
            SetForegroundWindow(hwnd);
            SetFocus(hwnd);
            return true;
        }
        return false;
    }

    mutable std::mutex lock_;
    std::vector<Key> keys_;
    test::WindowThread window_;  // last: its thread ends before what it records into goes
};

// ---- Registry values set with reg.exe, and removed again.

// One argument as the program's command-line parser takes it back (backslashes before a
// quotation mark doubled, the mark escaped).
std::string QuoteArgument(const std::string& text) {
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (char c : text) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, '\\');
    return quoted + "\"";
}

std::string RegExe() {
    char folder[MAX_PATH + 1] = {};
    GetSystemDirectoryA(folder, MAX_PATH);
    return std::string(folder) + "\\reg.exe";
}

enum class View { k64, k32 };

long Reg(const std::string& arguments, View view) {
    return test::RunToEnd(RegExe(), arguments + (view == View::k32 ? " /reg:32" : " /reg:64"));
}

bool KeyExists(const char* path, View view) {
    HKEY key = nullptr;
    const REGSAM access = KEY_READ | (view == View::k32 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY);
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, access, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

class RegisteredPlayers {
public:
    // Sets the default value of `key`; `ownKey` (which holds it) is removed at the end. It must
    // not exist before, so nothing of the prefix's own is touched.
    bool SetDefault(const char* ownKey, const char* key, const std::string& text, View view) {
        if (KeyExists(ownKey, view)) return false;
        owned_.emplace_back(ownKey, view);
        return Reg("add " + QuoteArgument(std::string("HKLM\\") + key) + " /ve /d " + QuoteArgument(text) + " /f", view) == 0;
    }
    ~RegisteredPlayers() {
        for (const auto& [key, view] : owned_) Reg("delete " + QuoteArgument(std::string("HKLM\\") + key) + " /f", view);
    }

private:
    std::vector<std::pair<std::string, View>> owned_;
};

std::string ReadDefault(const char* path, View view) {
    HKEY key = nullptr;
    const REGSAM access = KEY_READ | (view == View::k32 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY);
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, access, &key) != ERROR_SUCCESS) return "<missing>";
    char text[512] = {};
    DWORD size = sizeof text - 1;
    const LONG read = RegQueryValueExA(key, "", nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size);
    RegCloseKey(key);
    return read == ERROR_SUCCESS ? text : "<missing>";
}

// ---- The whole rig: players installed and registered, the monitor, the recorder.

class MediaRig {
public:
    MediaRig()
        : keyboard_(g_programs.tools, "BrenikMediaE2E"), players_("media-players"), logFolder_("media-log") {}

    // "" when everything is in place, else what is not.
    std::string Start() {
        if (!keyboard_.Start() || keyboard_.Command("unplug") != 0) return "the virtual keyboard server did not start";
        install_ = std::make_unique<test::MonitorInstallation>("media-e2e", g_programs.monitor, g_programs.kbhid, keyboard_.Pipe());
        test::WriteTextFile(install_->ConfigIni(), "[Setting]\r\nCurrentProfile=0\r\n");

        // The stand-in under each player's name; folders with spaces, as real installations have.
        for (const char* folder : {"Winamp Player", "VideoLAN", "Windows Media Player", "iTunes"}) {
            CreateDirectoryA(players_.File(folder).c_str(), nullptr);
        }
        for (const std::string& exe : {WinampExe(), VlcExe(), WmpExe(), ITunesExe()}) {
            if (!CopyFileA(g_standIn.c_str(), exe.c_str(), FALSE)) return "could not copy the stand-in to " + exe;
        }
        // The monitor passes the environment on to the players it starts, and expands it in
        // Windows Media Player's path.
        SetEnvironmentVariableA("BRENIK_MEDIA_LOG", Log().c_str());
        SetEnvironmentVariableA("BRENIK_MEDIA_PLAYERS", players_.Path().substr(0, players_.Path().size() - 1).c_str());

        const struct {
            const char* ownKey;
            const char* key;
            std::string text;
            View view;
        } registrations[] = {
            {kWinampOwnKey, kWinampKey, "\"" + WinampExe() + "\" \"%1\"", View::k64},
            {kVlcOwnKey, kVlcKey, "\"" + VlcExe() + "\" --started-from-file \"%1\"", View::k32},
            {kWmpKey, kWmpKey, "%BRENIK_MEDIA_PLAYERS%\\Windows Media Player\\wmplayer.exe", View::k64},
        };
        for (const auto& r : registrations) {
            if (KeyExists(r.ownKey, r.view)) return std::string("HKLM\\") + r.ownKey + " exists already; the test will not touch it";
            if (!registry_.SetDefault(r.ownKey, r.key, r.text, r.view)) return std::string("reg add failed for ") + r.key;
        }
        if (!monitor_.Launch(install_->Monitor())) return "Monitor.exe did not start";
        if (!test::WaitForMonitorWindow(kStartTimeoutMs)) return "no monitor window";
        if (!test::WaitUntil([&] { return block_.Open(); }, kStartTimeoutMs)) return "no shared block";
        return "";
    }

    ~MediaRig() {
        monitor_.Close();
        EndPlayers();
    }

    // Every stand-in that wrote "started <pid>" is ended (one may be hung on purpose).
    void EndPlayers() {
        for (const LogLine& line : ReadLog(Log())) {
            unsigned long pid = 0;
            if (std::sscanf(line.what.c_str(), "started %lu", &pid) != 1) continue;
            win32::ScopedHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid));
            if (!process.Valid()) continue;
            TerminateProcess(process.Get(), 0);
            WaitForSingleObject(process.Get(), 5000);
        }
    }

    HWND Monitor() const { return test::MonitorWindow(); }
    test::RunningMonitor& MonitorProcess() { return monitor_; }

    // The current profile's media player, as the settings program sets it.
    bool Choose(int mediaOption) {
        std::unique_ptr<StateRecord> state = block_.Read();
        state->CurrentProfile = 0;
        state->Profiles[0].MediaOption = mediaOption;
        block_.Write(*state);
        DWORD_PTR answer = 0;
        return SendMessageTimeoutA(Monitor(), kMsgRereadShared1, 0, 0, SMTO_NORMAL, kEventTimeoutMs, &answer) != 0;
    }

    // A media-key event, sent: when it returns the monitor has done all it does for the key.
    bool Press(std::uint8_t code, std::uint8_t flag = 0) {
        DWORD_PTR answer = 0;
        return SendMessageTimeoutA(Monitor(), kMsgKeyEvent, kClassMedia, (flag << 8) | code, SMTO_NORMAL, 10000, &answer) != 0;
    }
    // The same, posted as kbhid.dll posts it.
    void Post(std::uint8_t code) { PostMessageA(Monitor(), kMsgKeyEvent, kClassMedia, code); }

    std::string Log() const { return logFolder_.File("players.log"); }
    std::string WinampExe() const { return players_.File("Winamp Player\\winamp.exe"); }
    std::string VlcExe() const { return players_.File("VideoLAN\\vlc.exe"); }
    std::string ITunesExe() const { return players_.File("iTunes\\iTunes.exe"); }
    std::string WmpExe() const { return players_.File("Windows Media Player\\wmplayer.exe"); }

    KeyRecorder recorder;

private:
    test::VirtualKeyboardServer keyboard_;
    test::TempFolder players_;
    test::TempFolder logFolder_;
    std::unique_ptr<test::MonitorInstallation> install_;
    RegisteredPlayers registry_;
    test::RunningMonitor monitor_;
    test::SharedBlockPeer block_;
};

class MediaEndToEnd : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        rig_ = new MediaRig();
        failure_ = rig_->Start();
    }
    static void TearDownTestSuite() {
        delete rig_;
        rig_ = nullptr;
    }
    void SetUp() override {
        ASSERT_EQ(failure_, "") << "players installed and registered, monitor started";
        ASSERT_TRUE(rig_->recorder.TakeForeground());
        rig_->recorder.Clear();
    }
    MediaRig& Rig() { return *rig_; }
    std::size_t LogSize() const { return ReadLog(rig_->Log()).size(); }
    void Quiet() const { Sleep(kQuietMs); }

    static MediaRig* rig_;
    static std::string failure_;
};
MediaRig* MediaEndToEnd::rig_ = nullptr;
std::string MediaEndToEnd::failure_ = "not started";

constexpr LPARAM kExtendedKeyBit = 1 << 24;

TEST_F(MediaEndToEnd, NoPlayerChosenGivesTheSystemKeyOnly) {
    ASSERT_TRUE(Rig().Choose(kOptionNone));
    ASSERT_TRUE(Rig().Press(0x21));
    ASSERT_TRUE(Rig().recorder.WaitFor(WM_KEYUP, VK_MEDIA_NEXT_TRACK, 1));
    const std::vector<KeyRecorder::Key> keys = Rig().recorder.Keys();
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0].message, WM_KEYDOWN);
    EXPECT_EQ(keys[0].virtualKey, static_cast<WPARAM>(VK_MEDIA_NEXT_TRACK));
    EXPECT_NE(keys[0].lParam & kExtendedKeyBit, 0) << "the extended-key flag";
    EXPECT_NE(keys[1].lParam & kExtendedKeyBit, 0);
    Rig().Press(0x20);
    Quiet();
    EXPECT_EQ(LogSize(), 0u) << "nothing started, nothing told";
}

TEST_F(MediaEndToEnd, WinampNotRunningIsStartedByVolumeUpAndToldNothing) {
    ASSERT_TRUE(Rig().Choose(kOptionWinamp));
    ASSERT_EQ(FindWindowA(kWinampClass, nullptr), nullptr);
    ASSERT_TRUE(Rig().Press(0x26));
    EXPECT_TRUE(Rig().recorder.WaitFor(WM_KEYDOWN, VK_VOLUME_UP, 1));
    ASSERT_TRUE(test::WaitUntil([&] { return FindWindowA(kWinampClass, "Winamp") != nullptr; }, kStartTimeoutMs))
        << "started from the registered path, quotation marks removed";
    Quiet();
    EXPECT_EQ(LinesOf(Rig().Log(), "winamp", "started").size(), 1u);
    EXPECT_TRUE(LinesOf(Rig().Log(), "winamp", "WM_COMMAND").empty());
}

TEST_F(MediaEndToEnd, WinampPlayPauseAlternatesAndAQualifierStopsEverything) {
    ASSERT_TRUE(Rig().Choose(kOptionWinamp));
    ASSERT_TRUE(test::WaitUntil([&] { return FindWindowA(kWinampClass, nullptr) != nullptr; }, kStartTimeoutMs));
    const std::size_t before = LinesOf(Rig().Log(), "winamp", "WM_COMMAND").size();
    for (std::uint8_t code : {0x23, 0x23, 0x23, 0x21, 0x22, 0x24}) ASSERT_TRUE(Rig().Press(code));
    // Sent: each command is there when the press returns.
    std::vector<std::string> commands;
    for (const LogLine& line : LinesOf(Rig().Log(), "winamp", "WM_COMMAND")) commands.push_back(line.what);
    ASSERT_GE(commands.size(), before);
    commands.erase(commands.begin(), commands.begin() + static_cast<std::ptrdiff_t>(before));
    EXPECT_EQ(commands, (std::vector<std::string>{"WM_COMMAND 40045 0x00000000 play", "WM_COMMAND 40046 0x00000000 pause",
                                                  "WM_COMMAND 40045 0x00000000 play", "WM_COMMAND 40048 0x00000000 next",
                                                  "WM_COMMAND 40044 0x00000000 previous", "WM_COMMAND 40047 0x00000000 stop"}));

    Rig().recorder.Clear();
    const std::size_t lines = LogSize();
    ASSERT_TRUE(Rig().Press(0x21, 1));
    ASSERT_TRUE(Rig().Press(0x20, 1));
    Quiet();
    EXPECT_EQ(LogSize(), lines) << "qualifier 1: no command";
    EXPECT_TRUE(Rig().recorder.Keys().empty()) << "qualifier 1: not even the system key";
}

TEST_F(MediaEndToEnd, VlcRegisteredIn32BitViewIsStartedThenBroughtForwardForEveryKey) {
    ASSERT_FALSE(KeyExists(kVlcKey, View::k64)) << "registered in the 32-bit view only";
    ASSERT_EQ(ReadDefault(kVlcKey, View::k32), "\"" + Rig().VlcExe() + "\" --started-from-file \"%1\"");
    ASSERT_TRUE(Rig().Choose(kOptionVlc));
    ASSERT_TRUE(Rig().Press(0x20));
    ASSERT_TRUE(test::WaitUntil(
        [&] { return FindWindowA("QWidget", kVlcTitle) != nullptr && FindWindowA("QWidget", kVlcDecoyTitle) != nullptr; },
        kStartTimeoutMs));
    const HWND vlc = FindWindowA("QWidget", kVlcTitle);
    ASSERT_EQ(FindWindowA("QWidget", nullptr), FindWindowA("QWidget", kVlcDecoyTitle)) << "another QWidget window lies above the player";

    // Volume down: the system key, VLC brought forward, nothing sent to it.
    ASSERT_TRUE(Rig().recorder.TakeForeground());
    ASSERT_TRUE(Rig().Press(0x27));
    EXPECT_TRUE(test::WaitUntil([&] { return GetForegroundWindow() == vlc; }, kEventTimeoutMs));
    // The synthesised key goes through the system's input queue and reaches whichever window
    // has the focus when it is taken out: the recorder, or VLC if it came forward first (on a
    // loaded machine it does). Either way it arrives exactly once.
    const auto systemKeys = [&] {
        return Rig().recorder.Count(WM_KEYDOWN, VK_VOLUME_DOWN) +
               static_cast<int>(LinesOf(Rig().Log(), "vlc", "WM_KEYDOWN 174").size());
    };
    EXPECT_TRUE(test::WaitUntil([&] { return systemKeys() >= 1; }, kEventTimeoutMs));
    Quiet();
    EXPECT_EQ(systemKeys(), 1);
    for (const LogLine& line : LinesOf(Rig().Log(), "vlc", "WM_KEY")) {
        EXPECT_EQ(line.what.find("WM_KEYDOWN 174"), 0u) << "only the system key may reach it: " << line.what;
    }

    // Next: 'N' posted, down and up 100 ms apart, to the player and not to the window above it.
    ASSERT_TRUE(Rig().Press(0x21));
    ASSERT_TRUE(test::WaitUntil([&] { return !LinesOf(Rig().Log(), "vlc", "WM_KEYUP 78").empty(); }, kEventTimeoutMs));
    const std::vector<LogLine> down = LinesOf(Rig().Log(), "vlc", "WM_KEYDOWN 78");
    const std::vector<LogLine> up = LinesOf(Rig().Log(), "vlc", "WM_KEYUP 78");
    ASSERT_EQ(down.size(), 1u);
    ASSERT_EQ(up.size(), 1u);
    EXPECT_EQ(down[0].what, "WM_KEYDOWN 78 0x00310001 N");
    EXPECT_EQ(up[0].what, "WM_KEYUP 78 0xC0310001 N");
    EXPECT_GE(up[0].ms - down[0].ms, kPauseSlackMs);
    EXPECT_TRUE(LinesOf(Rig().Log(), "vlc-decoy", "WM_KEY").empty());
    EXPECT_EQ(LinesOf(Rig().Log(), "vlc", "started").size(), 1u);
}

TEST_F(MediaEndToEnd, WindowsMediaPlayerMinimisedIsBroughtForwardNotStartedAgain) {
    ASSERT_TRUE(Rig().Choose(kOptionWmp));
    ASSERT_TRUE(Rig().Press(0x20));
    ASSERT_TRUE(test::WaitUntil([&] { return FindWindowA(nullptr, kWmpTitle) != nullptr; }, kStartTimeoutMs))
        << "started from the registered path with its environment variable expanded";
    const HWND wmp = FindWindowA(nullptr, kWmpTitle);
    ShowWindow(wmp, SW_MINIMIZE);
    ASSERT_TRUE(test::WaitUntil([&] { return IsIconic(wmp) != FALSE; }, kEventTimeoutMs));
    ASSERT_TRUE(Rig().recorder.TakeForeground());

    ASSERT_TRUE(Rig().Press(0x20));
    EXPECT_TRUE(test::WaitUntil([&] { return IsIconic(wmp) == FALSE && GetForegroundWindow() == wmp; }, kEventTimeoutMs));
    Quiet();
    EXPECT_EQ(LinesOf(Rig().Log(), "wmp", "started").size(), 1u);
    // Windows Media Player hears the system key only.
    ASSERT_TRUE(Rig().recorder.TakeForeground());
    ASSERT_TRUE(Rig().Press(0x23));
    EXPECT_TRUE(Rig().recorder.WaitFor(WM_KEYUP, VK_MEDIA_PLAY_PAUSE, 1));
}

TEST_F(MediaEndToEnd, LookingUpAMissingPlayerLeavesTheRegistryAsItWas) {
    ASSERT_FALSE(KeyExists(kITunesOwnKey, View::k64));
    ASSERT_FALSE(KeyExists(kITunesOwnKey, View::k32));
    ASSERT_TRUE(Rig().Choose(kOptionITunes));
    ASSERT_TRUE(Rig().Press(0x20));
    Quiet();
    EXPECT_FALSE(KeyExists(kITunesOwnKey, View::k64));
    EXPECT_FALSE(KeyExists(kITunesOwnKey, View::k32));
    EXPECT_TRUE(LinesOf(Rig().Log(), "itunes").empty());
}

TEST_F(MediaEndToEnd, ITunesGetsSentChordsAndPostedSpace) {
    ChildProcess itunes;
    ASSERT_TRUE(itunes.Start(Rig().ITunesExe(), "--log=" + Rig().Log()));
    ASSERT_TRUE(test::WaitUntil([&] { return FindWindowA("iTunes", "iTunes") != nullptr; }, kStartTimeoutMs));
    ASSERT_TRUE(Rig().Choose(kOptionITunes));

    ASSERT_TRUE(Rig().Press(0x22));
    std::vector<LogLine> keys = LinesOf(Rig().Log(), "itunes", "WM_KEY");
    ASSERT_EQ(keys.size(), 4u) << "sent: all four are there when the press returns";
    EXPECT_EQ(keys[0].what, "WM_KEYDOWN 17 0x001D0001 Ctrl");
    EXPECT_EQ(keys[1].what, "WM_KEYDOWN 37 0x014B0001 Left");
    EXPECT_EQ(keys[2].what, "WM_KEYUP 37 0xC14B0001 Left");
    EXPECT_EQ(keys[3].what, "WM_KEYUP 17 0xC01D0001 Ctrl");
    for (std::size_t i = 1; i < keys.size(); ++i) EXPECT_GE(keys[i].ms - keys[i - 1].ms, kPauseSlackMs) << i;
    EXPECT_TRUE(Rig().recorder.WaitFor(WM_KEYUP, VK_MEDIA_PREV_TRACK, 1));

    ASSERT_TRUE(Rig().Press(0x24));
    ASSERT_TRUE(test::WaitUntil([&] { return LinesOf(Rig().Log(), "itunes", "WM_KEY").size() >= 6; }, kEventTimeoutMs));
    keys = LinesOf(Rig().Log(), "itunes", "WM_KEY");
    EXPECT_EQ(keys[4].what, "WM_KEYDOWN 32 0x00390001 Space");
    EXPECT_EQ(keys[5].what, "WM_KEYUP 32 0xC0390001 Space");
    EXPECT_GE(keys[5].ms - keys[4].ms, kPauseSlackMs);
}

TEST_F(MediaEndToEnd, AHungPlayerCostsABoundedWaitAndTheNextEventIsHandled) {
    ASSERT_TRUE(Rig().Choose(kOptionWinamp));
    const HWND winamp = FindWindowA(kWinampClass, nullptr);
    ASSERT_NE(winamp, nullptr);
    PostMessageA(winamp, kMsgStandInHang, 20000, 0);
    ASSERT_TRUE(test::WaitUntil([&] { return !LinesOf(Rig().Log(), "winamp", "hang").empty(); }, kEventTimeoutMs));

    const ULONGLONG start = GetTickCount64();
    Rig().Post(0x21);
    Rig().Post(0x22);
    ASSERT_TRUE(Rig().recorder.WaitFor(WM_KEYUP, VK_MEDIA_PREV_TRACK, 1)) << "the second key was handled";
    const ULONGLONG handled = GetTickCount64() - start;
    EXPECT_LT(handled, 2500u) << "two presses, each waiting at most 500 ms for the hung player";
    DWORD_PTR answer = 0;
    EXPECT_NE(SendMessageTimeoutA(Rig().Monitor(), WM_NULL, 0, 0, SMTO_NORMAL, 2000, &answer), 0) << "the window answers";
    std::printf("two keys to a hung player handled in %llu ms\n", static_cast<unsigned long long>(handled));
}

TEST_F(MediaEndToEnd, MonitorClosesNormallyAfterAll) { EXPECT_EQ(Rig().MonitorProcess().Close(), 0); }

}  // namespace
}  // namespace brenik::monitor::media
