// The real Monitor.exe under Wine, against the virtual keyboard, telling an on-screen display:
// a listener window with the display's title records each notice and, the moment it arrives,
// reads config.ini and the profile files with the platform's functions, as a display does.
// So each check says both what arrived and what the display would find when it looked.
// Stand-in windows of the settings program and the volume controller mark the moments around.

#include "ini_file.h"
#include "monitor_inbox.h"
#include "monitor_installation_win32.h"
#include "on_screen_display.h"
#include "osd_settings_record.h"
#include "peer_messages.h"
#include "program_windows.h"
#include "running_monitor_win32.h"
#include "shared_block_peer_win32.h"
#include "state_record.h"
#include "window_thread_win32.h"
#include "wine_test_support.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace brenik::monitor::osd {
namespace {

using test::MonitorWindow;
using test::PeerWindows;

const test::MonitorPrograms g_programs = test::MonitorProgramsFromArguments();

constexpr DWORD kMessageTimeoutMs = 10000;
constexpr const char* kMissing = "<missing>";

// What the listener reads at each notice: "<file>|<section>|<key>", file relative to the install.
constexpr const char* kSeenNumber = "config.ini|MacroOSD|Number";
constexpr const char* kSeenMacroName = "config.ini|MacroOSD|MacroName";
constexpr const char* kSeenMessage = "config.ini|OSDData|Message";
constexpr const char* kSeenCurrentProfile = "config.ini|Setting|CurrentProfile";
constexpr const char* kSeenRightWin3 = "config\\Default2.cmp|Setting|RightWin";
const char* const kSeen[] = {kSeenNumber, kSeenMacroName, kSeenMessage, kSeenCurrentProfile, kSeenRightWin3};

class Installation : public test::MonitorInstallation {
public:
    explicit Installation(const std::string& pipe)
        : MonitorInstallation("osd-e2e", g_programs.monitor, g_programs.kbhid, pipe) {
        // The keyboard's token is zero until a host writes one: a matching token makes the
        // first synchronisation two reads instead of a read-back of everything.
        const std::array<std::uint8_t, 16> token{};
        EXPECT_TRUE(ini::CIniFile(ConfigIni()).WriteStruct("HidAccessCode", "Code", token.data(), token.size()));
    }
    void StoreOsdSettings(const OsdSettings& settings) const {
        EXPECT_TRUE(ini::CIniFile(ConfigIni()).WriteStruct("OSDSetting", "config", &settings, sizeof settings));
    }
    std::string Read(const std::string& file, const char* section, const char* key) const {
        char value[512] = {};
        GetPrivateProfileStringA(section, key, kMissing, value, sizeof value, (Folder() + file).c_str());
        return value;
    }
};

// A window titled as the on-screen display, on a thread of its own. It records 1324 and 1326
// with what the files held at that moment, and stays open when asked to close.
class DisplayListener {
public:
    struct Notice {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        std::int64_t microseconds;
        std::map<std::string, std::string> seen;
    };

    explicit DisplayListener(const Installation& install)
        : install_(install),
          window_("BrenikOsdListener", {test::WindowLayout{kTitleOsd}},
                  [this](HWND, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
                      *result = 0;
                      return Record(message, wParam, lParam);
                  }) {}
    DisplayListener(const DisplayListener&) = delete;
    DisplayListener& operator=(const DisplayListener&) = delete;

    std::vector<Notice> Log() const {
        std::lock_guard<std::mutex> hold(lock_);
        return log_;
    }
    void Clear() {
        std::lock_guard<std::mutex> hold(lock_);
        log_.clear();
    }
    // The notices of one kind (message 1324 with that wParam, or 1326 for kind -1) so far.
    std::vector<Notice> Of(int kind) const {
        std::vector<Notice> found;
        for (const Notice& n : Log()) {
            if (kind < 0 ? n.message == kMsgOsdSettings : n.message == kMsgOsdShow && n.wParam == static_cast<WPARAM>(kind)) {
                found.push_back(n);
            }
        }
        return found;
    }
    bool WaitFor(int kind, std::size_t count = 1) const {
        return test::WaitUntil([&] { return Of(kind).size() >= count; }, kMessageTimeoutMs);
    }

private:
    // Answers 1324, 1326 and WM_CLOSE (the monitor closes the display when the keyboard goes).
    bool Record(UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_CLOSE) return true;
        if (message != kMsgOsdShow && message != kMsgOsdSettings) return false;
        Notice notice{message, wParam, lParam, test::NowMicroseconds(), {}};
        for (const char* what : kSeen) {
            const std::string path(what);
            const std::size_t bar1 = path.find('|');
            const std::size_t bar2 = path.find('|', bar1 + 1);
            notice.seen[what] = install_.Read(path.substr(0, bar1), path.substr(bar1 + 1, bar2 - bar1 - 1).c_str(),
                                              path.substr(bar2 + 1).c_str());
        }
        std::lock_guard<std::mutex> hold(lock_);
        log_.push_back(std::move(notice));
        return true;
    }

    const Installation& install_;
    mutable std::mutex lock_;
    std::vector<Notice> log_;
    test::WindowThread window_;  // last: its thread ends before what it records into goes
};

// A text message as another program sends it: the answer, or -1 when the send failed.
LRESULT SendText(std::size_t size, const std::string& text) {
    std::vector<char> block(size, 0);
    if (size > 0) block[0] = '#';  // byte 0 is not part of the text
    std::memcpy(block.data() + 1, text.data(), std::min(text.size(), size > 0 ? size - 1 : 0));
    COPYDATASTRUCT data{42, static_cast<DWORD>(size), block.data()};  // the identifier does not matter
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(MonitorWindow(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG,
                             kMessageTimeoutMs, &answer)) {
        return -1;
    }
    return static_cast<LRESULT>(answer);
}

OsdSettings NoticesOn() {
    OsdSettings s{};
    s.ProfileNotice = s.MacroNotice = s.LockKeyNotice = s.VolumeNotice = 1;
    return s;
}

TEST(OsdEndToEnd, KeyboardNoticesFollowTheSwitchesAndTheFilesAreWrittenFirst) {
    test::VirtualKeyboardServer keyboard(g_programs.tools, "BrenikOsdE2E-notices");
    ASSERT_TRUE(keyboard.Start());
    Installation install(keyboard.Pipe());
    OsdSettings settings = NoticesOn();
    settings.DisplayParam1 = 0x10003;
    settings.DisplayParam2 = 7;
    install.StoreOsdSettings(settings);
    PeerWindows peers({kTitleSettings, kTitleVolumeController});
    DisplayListener display(install);
    test::RunningMonitor monitor;
    ASSERT_TRUE(monitor.Start(install.Monitor()));
    ASSERT_TRUE(peers.WaitFor(kTitleVolumeController, kMsgVolumeSyncDone, 1, kMessageTimeoutMs)) << "first synchronisation";

    // The settings program puts a macro named Reload on key 1 of profile 1, a plain key on key 6.
    test::SharedBlockPeer block;
    ASSERT_TRUE(block.Open());
    std::unique_ptr<StateRecord> edit = block.Read();
    ASSERT_EQ(edit->CurrentProfile, 0);
    edit->Profiles[0].MacroKeyInfo[0].FunctionType = kFunctionMacro;
    std::strcpy(edit->Profiles[0].MacroKeyInfo[0].MacroName, "Reload");
    edit->Profiles[0].MacroKeyInfo[5].FunctionType = kFunctionStandard;
    std::strcpy(edit->Profiles[0].MacroKeyInfo[5].MacroName, "Not played");
    block.Write(*edit);
    PostMessageA(MonitorWindow(), kMsgRereadShared1, 0, 0);

    // Macro key 1: the name is in config.ini when the notice arrives.
    ASSERT_EQ(keyboard.Command("play-macro 1"), 0);
    ASSERT_TRUE(display.WaitFor(kOsdKindMacro));
    DisplayListener::Notice macro = display.Of(kOsdKindMacro)[0];
    EXPECT_EQ(macro.lParam, 0);
    EXPECT_EQ(macro.seen[kSeenNumber], "0");
    EXPECT_EQ(macro.seen[kSeenMacroName], "Reload");

    // A plain key and a volume of 101 tell the display nothing; volume 0 does.
    display.Clear();
    ASSERT_EQ(keyboard.Command("play-macro 6"), 0);
    ASSERT_EQ(keyboard.Command("event 0xA000 101"), 0);
    ASSERT_EQ(keyboard.Command("volume 0"), 0);
    ASSERT_TRUE(display.WaitFor(kOsdKindVolume));
    ASSERT_EQ(display.Log().size(), 1u) << "only the volume of 0";
    EXPECT_EQ(display.Log()[0].lParam, 0);
    EXPECT_EQ(peers.Count(kTitleVolumeController, kMsgVolumeEvent), 2) << "the volume controller hears both";
    ASSERT_EQ(keyboard.Command("volume 57"), 0);
    ASSERT_TRUE(display.WaitFor(kOsdKindVolume, 2));
    EXPECT_EQ(display.Of(kOsdKindVolume)[1].lParam, 57);

    // Profile key 3: announced after the switch was saved.
    ASSERT_EQ(keyboard.Command("profile 3"), 0);
    ASSERT_TRUE(display.WaitFor(kOsdKindProfile));
    DisplayListener::Notice profile = display.Of(kOsdKindProfile)[0];
    EXPECT_EQ(profile.lParam, 2 << 16);
    EXPECT_EQ(profile.seen[kSeenCurrentProfile], "2");

    // Windows key of profile 3 freed (key byte 1; RightWin was 1): announced with the key byte
    // after the profiles were saved.
    ASSERT_EQ(install.Read("config\\Default2.cmp", "Setting", "RightWin"), "1");
    ASSERT_EQ(keyboard.Command("winlock 3 off"), 0);
    ASSERT_TRUE(display.WaitFor(kOsdKindWindowsKey));
    DisplayListener::Notice windowsKey = display.Of(kOsdKindWindowsKey)[0];
    EXPECT_EQ(windowsKey.lParam, 1 << 16);
    EXPECT_EQ(windowsKey.seen[kSeenRightWin3], "0");

    // A settings change: profile notices off, new display parameters. 1326 carries them,
    // before the settings program hears that the change was applied.
    settings.ProfileNotice = 0;
    settings.DisplayParam1 = 0xFFFF;
    settings.DisplayParam2 = 0x1234;
    install.StoreOsdSettings(settings);
    display.Clear();
    peers.Clear();
    PostMessageA(MonitorWindow(), kMsgSettingsChanged, 0, 0);
    ASSERT_TRUE(display.WaitFor(-1));
    ASSERT_TRUE(peers.WaitFor(kTitleSettings, kMsgEnableButtons, 1, kMessageTimeoutMs));
    const DisplayListener::Notice changed = display.Of(-1)[0];
    EXPECT_EQ(changed.wParam, 0u);
    EXPECT_EQ(static_cast<std::uint64_t>(changed.lParam), 0xFFFF1234u);
    for (const PeerWindows::Received& r : peers.Log()) {
        if (r.message == kMsgEnableButtons) {
            EXPECT_LT(changed.microseconds, r.microseconds);
        }
    }

    // Now a profile key is not announced; the volume after it is, so nothing was left behind.
    display.Clear();
    ASSERT_EQ(keyboard.Command("profile 1"), 0);
    ASSERT_EQ(keyboard.Command("volume 20"), 0);
    ASSERT_TRUE(display.WaitFor(kOsdKindVolume));
    EXPECT_TRUE(peers.WaitFor(kTitleSettings, kMsgProfileSwitched, 1, kMessageTimeoutMs)) << "the switch itself happened";
    EXPECT_TRUE(display.Of(kOsdKindProfile).empty());
    EXPECT_EQ(display.Log().size(), 1u);
    EXPECT_EQ(monitor.Close(), 0);
}

TEST(OsdEndToEnd, TextMessagesOfExactly151BytesAreStoredAndAnnouncedWhileTheKeyboardIsOpen) {
    test::VirtualKeyboardServer keyboard(g_programs.tools, "BrenikOsdE2E-texts");
    ASSERT_TRUE(keyboard.Start());
    Installation install(keyboard.Pipe());
    install.StoreOsdSettings(NoticesOn());
    PeerWindows peers({kTitleVolumeController});
    DisplayListener display(install);
    test::RunningMonitor monitor;
    ASSERT_TRUE(monitor.Start(install.Monitor()));
    ASSERT_TRUE(peers.WaitFor(kTitleVolumeController, kMsgVolumeSyncDone, 1, kMessageTimeoutMs)) << "first synchronisation";
    const auto message = [&] { return install.Read("config.ini", "OSDData", "Message"); };

    // The answer comes after the handler ran, so the file already shows what it did.
    EXPECT_EQ(SendText(150, "Too short"), 1);
    EXPECT_EQ(message(), kMissing);
    EXPECT_EQ(SendText(152, "Too long"), 1);
    EXPECT_EQ(message(), kMissing);
    EXPECT_EQ(SendText(151, "Hello from a game"), 1);
    EXPECT_EQ(message(), "Hello from a game");
    ASSERT_TRUE(display.WaitFor(kOsdKindMessage));
    EXPECT_EQ(display.Of(kOsdKindMessage)[0].seen[kSeenMessage], "Hello from a game");
    EXPECT_EQ(display.Of(kOsdKindMessage)[0].lParam, 0);

    // 150 characters and no terminator: all of them; a line break: the first line only.
    const std::string full(150, 'W');
    EXPECT_EQ(SendText(151, full), 1);
    EXPECT_EQ(message(), full);
    EXPECT_EQ(SendText(151, "First line\r\n[Setting]\r\nDevice=7"), 1);
    EXPECT_EQ(message(), "First line");
    EXPECT_EQ(install.DeviceKey(), 1);
    ASSERT_TRUE(display.WaitFor(kOsdKindMessage, 3));
    EXPECT_EQ(display.Of(kOsdKindMessage).size(), 3u) << "one notice for each stored text, none for the others";

    // Keyboard pulled out: a text is still stored, but not announced. A volume event posted
    // behind it shows that nothing was left in the queue before it.
    ASSERT_EQ(keyboard.Command("unplug"), 0);
    ASSERT_TRUE(test::WaitUntil([&] { return install.DeviceKey() == 0; }, kMessageTimeoutMs));
    display.Clear();
    EXPECT_EQ(SendText(151, "While away"), 1);
    EXPECT_EQ(message(), "While away");
    PostMessageA(MonitorWindow(), kMsgKeyEvent, kClassVolume, 30);
    ASSERT_TRUE(display.WaitFor(kOsdKindVolume));
    EXPECT_TRUE(display.Of(kOsdKindMessage).empty());
    EXPECT_EQ(monitor.Close(), 0);
}

}  // namespace
}  // namespace brenik::monitor::osd
