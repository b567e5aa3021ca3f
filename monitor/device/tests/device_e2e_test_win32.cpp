// Monitor.exe under Wine against the virtual keyboard server, for the keyboard protocol: what
// a settings change writes, what a first contact reads back, a macro recorded on the
// keyboard, and a removal in the middle of a read-back. Companion programs are stand-in
// windows that record what they receive; the test plays the settings program's part in the
// shared block.

#include "ini_file.h"
#include "keyboard_trace_win32.h"
#include "monitor_inbox.h"
#include "monitor_installation_win32.h"
#include "peer_messages.h"
#include "profile_store.h"
#include "program_windows.h"
#include "running_monitor_win32.h"
#include "shared_block_peer_win32.h"
#include "state_record.h"
#include "wine_test_support.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace brenik::monitor::device {
namespace {

using test::MonitorWindow;
using test::PeerWindows;

const test::MonitorPrograms g_programs = test::MonitorProgramsFromArguments();

constexpr DWORD kMessageTimeoutMs = 15000;
// A read-back of the whole keyboard takes about 17 s of the keyboard's pauses.
constexpr DWORD kReadBackTimeoutMs = 60000;

// The shared server helper, plus what these tests read from it.
class KeyboardServer : public test::VirtualKeyboardServer {
public:
    explicit KeyboardServer(const char* tag) : VirtualKeyboardServer(g_programs.tools, std::string("BrenikDeviceE2E-") + tag) {}
    std::string Dump() {
        std::string json;
        Command("dump", &json);
        return json;
    }
    // The decoded trace lines without their times, status polls and select requests left out.
    std::vector<std::string> Commands() {
        std::vector<std::string> lines;
        for (const test::TraceEntry& entry : test::ReadKeyboardTrace(*this)) {
            if (entry.StartsWith("GET status") || entry.StartsWith("SET select") || entry.IsHostNote()) continue;
            lines.push_back(entry.text);
        }
        return lines;
    }
};

class Installation : public test::MonitorInstallation {
public:
    explicit Installation(const std::string& pipe)
        : MonitorInstallation("device-e2e", g_programs.monitor, g_programs.kbhid, pipe) {}
    bool ProfileEntry(int n, int key, MacroKeyInfo& entry) const {
        return ini::CIniFile(ProfileFile(n)).ReadStruct("Setting", "MacroKeyInfo" + std::to_string(key), &entry, sizeof entry);
    }
    int ProfileInt(int n, const char* key) const {
        return static_cast<int>(GetPrivateProfileIntA("Setting", key, -7, ProfileFile(n).c_str()));
    }
    void StoreToken(std::uint8_t fill) const {
        std::uint8_t token[16];
        std::memset(token, fill, sizeof token);
        ini::CIniFile(ConfigIni()).WriteStruct("HidAccessCode", "Code", token, sizeof token);
    }
};

// The JSON object of profile `index` in the keyboard's state dump.
std::string ProfileJson(const std::string& dump, int index) {
    const std::string tag = "\"index\": " + std::to_string(index);
    const std::size_t start = dump.find(tag);
    if (start == std::string::npos) return "";
    const std::size_t end = dump.find("\"index\": " + std::to_string(index + 1), start);
    return dump.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

TEST(DeviceEndToEnd, SettingsChangeWritesExactlyTheFlaggedSettings) {
    KeyboardServer keyboard("apply");
    ASSERT_TRUE(keyboard.Start());
    Installation install(keyboard.Pipe());
    PeerWindows peers({kTitleSettings, kTitleVolumeController});
    test::RunningMonitor monitor;
    ASSERT_TRUE(monitor.Start(install.Monitor()));
    ASSERT_TRUE(peers.WaitFor(kTitleVolumeController, kMsgVolumeSyncDone, 1, kReadBackTimeoutMs)) << "first synchronisation";

    test::SharedBlockPeer block;
    ASSERT_TRUE(block.Open());
    std::unique_ptr<StateRecord> edit = block.Read();
    ProfileRecord& profile = edit->Profiles[2];
    profile.LtColorRed = 0x12;
    profile.LtColorGreen = 0x34;
    profile.LtColorBlue = 0x56;
    MacroKeyInfo& macro = profile.MacroKeyInfo[3];
    macro.FunctionType = 0xBE;
    std::strcpy(macro.MacroName, "E2E macro");
    macro.ActionCount = 2;
    macro.Actions[0] = {0x04, 1, 25};
    macro.Actions[1] = {0x04, 2, 0};
    edit->LightingChanged[2] = 1;
    edit->KeyChanged[2][3] = 1;
    block.Write(*edit);

    const std::string before = keyboard.Dump();
    ASSERT_EQ(keyboard.Command("trace clear"), 0);
    peers.Clear();
    PostMessageA(MonitorWindow(), kMsgSettingsChanged, 0, 0);
    ASSERT_TRUE(peers.WaitFor(kTitleSettings, kMsgEnableButtons, 1, kMessageTimeoutMs));

    EXPECT_EQ(keyboard.Commands(), (std::vector<std::string>{"SET key-functions-0-11 profile=2",
                                                             "SET macro profile=2 key=3 actions=2",
                                                             "SET lighting profile=2", "SET sync-token"}));
    const std::string after = keyboard.Dump();
    for (int p : {0, 1, 3, 4}) EXPECT_EQ(ProfileJson(after, p), ProfileJson(before, p)) << "profile " << p;
    const std::string changed = ProfileJson(after, 2);
    ASSERT_FALSE(changed.empty()) << after;
    EXPECT_NE(changed, ProfileJson(before, 2));
    EXPECT_NE(changed.find("E2E macro"), std::string::npos);
    EXPECT_NE(changed.find("123456"), std::string::npos) << "the lighting's colour bytes";

    // The volume controller's level reaches the keyboard once synchronised; at shutdown the
    // host state goes back to 0.
    PostMessageA(MonitorWindow(), kMsgVolumeLevel, 57, 0);
    EXPECT_TRUE(test::WaitUntil([&] { return keyboard.Dump().find("\"volume\": 57") != std::string::npos; },
                                kMessageTimeoutMs, 200));
    EXPECT_EQ(monitor.Close(), 0);
    const std::vector<std::string> lines = keyboard.Commands();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "SET host-state value=0");
    EXPECT_EQ(lines[lines.size() - 2], "SET volume profile=0 level=5 volume=57");
}

TEST(DeviceEndToEnd, FirstContactReadsBackThenRestartTrustsTheFilesAndARecordedMacroArrives) {
    KeyboardServer keyboard("sync");
    ASSERT_TRUE(keyboard.Start());
    // The keyboard holds settings the files do not know: profile 2 current, a macro on key 5
    // of it, its lighting control 77.
    ASSERT_EQ(keyboard.Command("profile 2"), 0);
    ASSERT_EQ(keyboard.Command("record-macro 5 0x0B 0x0C"), 0);
    ASSERT_EQ(keyboard.Command("lighting 77"), 0);
    Installation install(keyboard.Pipe());
    install.StoreToken(0x55);
    PeerWindows peers({kTitleSettings, kTitleVolumeController});
    {
        test::RunningMonitor monitor;
        ASSERT_TRUE(monitor.Start(install.Monitor()));
        ASSERT_TRUE(peers.WaitFor(kTitleSettings, kMsgSyncDone, 1, kReadBackTimeoutMs)) << "read-back finished";
        test::SharedBlockPeer block;
        ASSERT_TRUE(block.Open());
        const std::unique_ptr<StateRecord> state = block.Read();
        EXPECT_EQ(state->CurrentProfile, 1);
        EXPECT_EQ(state->Profiles[1].MacroKeyInfo[4].FunctionType, 0xBE);
        EXPECT_EQ(state->Profiles[1].MacroKeyInfo[4].ActionCount, 4);
        EXPECT_EQ(state->Profiles[1].LtControl, 77);
        // A key map nobody changed reads back as the profile's defaults, key for key.
        for (int p = 0; p < kProfileCount; ++p) {
            for (int i = 0; i < kStandardKeyCount; ++i) {
                EXPECT_EQ(state->Profiles[p].standardkey[i], kDefaultStandardKeys[i]) << "profile " << p << ", key " << i;
            }
        }
        MacroKeyInfo stored{};
        ASSERT_TRUE(install.ProfileEntry(1, 4, stored));
        EXPECT_EQ(stored.FunctionType, 0xBE);
        EXPECT_EQ(stored.ActionCount, 4);
        EXPECT_EQ(stored.Actions[0].KeyCode, 0x0B);
        EXPECT_EQ(install.ProfileInt(1, "LtControl"), 77);
        EXPECT_EQ(GetPrivateProfileIntA("Setting", "CurrentProfile", -7, install.ConfigIni().c_str()), 1u);

        // A macro recorded on the keyboard itself is read back into the current profile.
        peers.Clear();
        ASSERT_EQ(keyboard.Command("record-macro 7 0x06"), 0);
        ASSERT_TRUE(peers.WaitFor(kTitleSettings, kMsgMacroReadBack, 1, kMessageTimeoutMs));
        for (const PeerWindows::Received& r : peers.Log()) {
            if (r.message == kMsgMacroReadBack) {
                EXPECT_EQ(r.wParam, 1u);
                EXPECT_EQ(r.lParam, 6);
            }
        }
        ASSERT_TRUE(test::WaitUntil([&] { return install.ProfileEntry(1, 6, stored) && stored.ActionCount == 2; },
                                    kMessageTimeoutMs));
        EXPECT_EQ(stored.Actions[0].KeyCode, 0x06);
        EXPECT_EQ(monitor.Close(), 0);
    }

    // Same keyboard, same files: the tokens match, so only two reads before the host state.
    ASSERT_EQ(keyboard.Command("trace clear"), 0);
    peers.Clear();
    test::RunningMonitor again;
    ASSERT_TRUE(again.Start(install.Monitor()));
    ASSERT_TRUE(peers.WaitFor(kTitleVolumeController, kMsgVolumeSyncDone, 1, kMessageTimeoutMs));
    EXPECT_EQ(peers.Count(kTitleSettings, kMsgSyncDone), 1);
    const std::vector<std::string> lines = keyboard.Commands();
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], "GET sync-token");
    EXPECT_EQ(lines[1].rfind("GET device-info", 0), 0u) << lines[1];
    EXPECT_EQ(lines[2], "GET current-profile profile=1");
    EXPECT_EQ(lines[3], "SET host-state value=1");
    EXPECT_EQ(lines.size(), 4u);
}

TEST(DeviceEndToEnd, UnplugDuringTheReadBackStopsWithoutSaving) {
    KeyboardServer keyboard("unplug");
    ASSERT_TRUE(keyboard.Start());
    Installation install(keyboard.Pipe());
    install.StoreToken(0x66);
    PeerWindows peers({kTitleSettings, kTitleVolumeController});
    test::RunningMonitor monitor;
    ASSERT_TRUE(monitor.Start(install.Monitor()));
    // Into the read-back: the locked-key flags are read after the five key maps.
    ASSERT_TRUE(test::WaitUntil(
        [&] {
            for (const std::string& line : keyboard.Commands()) {
                if (line.rfind("GET locked-keys", 0) == 0) return true;
            }
            return false;
        },
        kReadBackTimeoutMs, 200));
    ASSERT_EQ(keyboard.Command("unplug"), 0);
    ASSERT_TRUE(peers.WaitFor(kTitleVolumeController, kMsgVolumeSyncDone, 1, kMessageTimeoutMs)) << "the job ended";
    EXPECT_EQ(peers.Count(kTitleSettings, kMsgSyncDone), 0);
    for (int n = 0; n < kProfileCount; ++n) EXPECT_FALSE(test::FileExists(install.ProfileFile(n))) << n;
}

}  // namespace
}  // namespace brenik::monitor::device
