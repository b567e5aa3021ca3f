// Faults around the real Monitor.exe under Wine: killed at random moments while it saves, and
// started over damaged files. No keyboard is needed: profile-key events are posted to the
// monitor's window as kbhid.dll would post them, and every one of them saves the profiles; and
// killed while it keeps a copy of the profiles in their history.
//
// The number of kills is BRENIK_KILL_ROUNDS (the test command runs a few; scripts/faults-long.sh
// a few hundred).

#include "history_copy.h"
#include "monitor_inbox.h"
#include "monitor_installation_win32.h"
#include "profile_record.h"
#include "running_monitor_win32.h"
#include "scoped_handle.h"
#include "shared_block_peer_win32.h"
#include "state_record.h"
#include "wine_test_support.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace brenik::monitor {
namespace {

using test::MonitorWindow;
using test::RunningMonitor;

const test::MonitorPrograms g_programs = test::MonitorProgramsFromArguments();

constexpr DWORD kStartTimeoutMs = 15000;
constexpr int kDefaultKillRounds = 12;
// The age from which a save takes a temporary file for a killed save's leftover, and a little more.
constexpr DWORD kLeftoverAgeMs = 11000;
constexpr std::uint16_t kClassProfileKey = 0x3000;

// No keyboard answers on this pipe, so the monitor runs without one.
class Installation : public test::MonitorInstallation {
public:
    explicit Installation(const char* tag)
        : MonitorInstallation(tag, g_programs.monitor, g_programs.kbhid, std::string("BrenikNobody-") + tag) {}
};

// A profile key as kbhid.dll posts it: class in wParam, the profile number 1..5 in lParam.
void PressProfileKey(HWND monitor, int number) { PostMessageA(monitor, kMsgKeyEvent, kClassProfileKey, number); }

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

// A profile file as one whole save leaves it, read by the platform's own functions: its name,
// and all 44 key entries decoding as struct values of their exact size.
::testing::AssertionResult ProfileFileIsWhole(const std::string& path) {
    char name[256] = {};
    if (GetPrivateProfileStringA("Setting", "ProFileName", "<missing>", name, sizeof name, path.c_str()) == 0 ||
        std::string(name) == "<missing>") {
        return ::testing::AssertionFailure() << path << ": no ProFileName";
    }
    static MacroKeyInfo entry;
    for (int k = 0; k < kKeyEntryCount; ++k) {
        const std::string key = "MacroKeyInfo" + std::to_string(k);
        if (!GetPrivateProfileStructA("Setting", key.c_str(), &entry, sizeof entry, path.c_str())) {
            return ::testing::AssertionFailure() << path << ": " << key << " does not decode";
        }
    }
    return ::testing::AssertionSuccess();
}

std::set<std::string> LeftoverTemporaries(const std::string& folder) {
    std::set<std::string> names;
    WIN32_FIND_DATAA found{};
    const HANDLE search = FindFirstFileA((folder + "ini*.tmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do names.insert(folder + found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

std::set<std::string> LeftoverTemporaries(const Installation& install) {
    std::set<std::string> names = LeftoverTemporaries(install.Folder());
    const std::set<std::string> config = LeftoverTemporaries(install.Folder() + "config\\");
    names.insert(config.begin(), config.end());
    return names;
}

// A temporary file that was not there before: a save (or a copy) is under way, or was cut off.
bool HasNewTemporary(const std::set<std::string>& before, const std::set<std::string>& now) {
    for (const std::string& name : now) {
        if (before.count(name) == 0) return true;
    }
    return false;
}

int CountLeftoverTemporaries(const std::string& folder) { return static_cast<int>(LeftoverTemporaries(folder).size()); }

int KillRounds() {
    const char* text = std::getenv("BRENIK_KILL_ROUNDS");
    const int rounds = text != nullptr ? std::atoi(text) : 0;
    return rounds > 0 ? rounds : kDefaultKillRounds;
}

TEST(MonitorFaults, KilledWhileSavingLeavesEveryFileWholeAndNoTemporariesPileUp) {
    Installation install("faults-kill");
    {
        RunningMonitor monitor;
        ASSERT_TRUE(monitor.Start(install.Monitor()));
        PressProfileKey(MonitorWindow(), 2);  // the first whole save
        ASSERT_TRUE(test::WaitUntil([&] { return test::FileExists(install.ProfileFile(4)); }, kStartTimeoutMs));
        ASSERT_EQ(monitor.Close(), 0);
    }

    std::mt19937 random(20261208);
    // Forty profile keys keep the monitor saving for a while; the kill lands somewhere in it.
    constexpr int kPresses = 40;
    std::uniform_int_distribution<DWORD> killAfterMs(0, 600);
    const int rounds = KillRounds();
    int killedMidSave = 0;
    for (int round = 0; round < rounds; ++round) {
        RunningMonitor monitor;
        const std::set<std::string> before = LeftoverTemporaries(install);
        ASSERT_TRUE(monitor.Start(install.Monitor())) << "round " << round;
        const HWND window = MonitorWindow();
        for (int press = 0; press < kPresses; ++press) PressProfileKey(window, 1 + (round + press) % kProfileCount);
        // Every other round the kill waits for a save in progress (its temporary file exists);
        // the others kill at a random moment.
        if (round % 2 == 0) {
            test::WaitUntil([&] { return HasNewTemporary(before, LeftoverTemporaries(install)); }, 2000, 0);
        } else {
            Sleep(killAfterMs(random));
        }
        TerminateProcess(monitor.Handle(), 9);
        ASSERT_TRUE(test::WaitForNoMonitorWindow(kStartTimeoutMs));
        if (HasNewTemporary(before, LeftoverTemporaries(install))) ++killedMidSave;

        for (int n = 0; n < kProfileCount; ++n) EXPECT_TRUE(ProfileFileIsWhole(install.ProfileFile(n))) << "round " << round;
        const UINT current = GetPrivateProfileIntA("Setting", "CurrentProfile", 99, install.ConfigIni().c_str());
        EXPECT_LT(current, static_cast<UINT>(kProfileCount)) << "round " << round << ": config.ini whole";
        if (HasFailure()) break;
    }
    std::printf("killed %d times, %d of them in the middle of a save\n", rounds, killedMidSave);
    EXPECT_GT(killedMidSave, 0) << "no kill landed in the middle of a save";

    // Once the leftovers are older than a save can take, one more start and save removes them
    // all: none pile up. A save that changes nothing writes nothing (and removes nothing), so the
    // key pressed is one whose profile is not current yet: config.ini is written for certain.
    Sleep(kLeftoverAgeMs);
    const UINT lastCurrent = GetPrivateProfileIntA("Setting", "CurrentProfile", 0, install.ConfigIni().c_str());
    RunningMonitor monitor;
    ASSERT_TRUE(monitor.Start(install.Monitor()));
    PressProfileKey(MonitorWindow(), 1 + static_cast<int>((lastCurrent + 1) % kProfileCount));
    EXPECT_TRUE(test::WaitUntil([&] {
        return CountLeftoverTemporaries(install.Folder()) + CountLeftoverTemporaries(install.Folder() + "config\\") == 0;
    }, kStartTimeoutMs));
    EXPECT_EQ(monitor.Close(), 0);
}

TEST(MonitorFaults, KilledWhileKeepingAHistoryCopyLeavesTheHistoryAndTheProfilesWhole) {
    Installation install("faults-history");
    const std::string history = install.Folder() + "config\\History\\";
    std::mt19937 random(20261209);
    std::uniform_int_distribution<DWORD> killAfterMs(0, 400);
    const int rounds = KillRounds();
    int killedMidCopy = 0;
    for (int round = 0; round < rounds; ++round) {
        RunningMonitor monitor;
        ASSERT_TRUE(monitor.Start(install.Monitor())) << "round " << round;
        test::SharedBlockPeer block;
        ASSERT_TRUE(test::WaitUntil([&] { return block.Open(); }, kStartTimeoutMs)) << "round " << round;
        const std::set<std::string> before = LeftoverTemporaries(history);
        // Restoring the keyboard (1224, wParam 1) keeps a copy first; a new name before each
        // makes the files differ from the newest copy every time.
        for (int change = 0; change < 20; ++change) {
            const std::unique_ptr<StateRecord> state = block.Read();
            std::snprintf(state->Profiles[0].ProFileName, sizeof state->Profiles[0].ProFileName, "Round %d-%d", round, change);
            block.Write(*state);
            PostMessageA(MonitorWindow(), kMsgSettingsChanged, 1, 0);
        }
        if (round % 2 == 0) {
            test::WaitUntil([&] { return HasNewTemporary(before, LeftoverTemporaries(history)); }, 3000, 0);
        } else {
            Sleep(killAfterMs(random));
        }
        TerminateProcess(monitor.Handle(), 9);
        ASSERT_TRUE(test::WaitForNoMonitorWindow(kStartTimeoutMs));
        if (HasNewTemporary(before, LeftoverTemporaries(history))) ++killedMidCopy;

        for (const std::string& path : test::FilesIn(history, "*.bkh")) {
            history::HistoryCopy copy;
            std::string error;
            EXPECT_TRUE(history::DecodeHistoryCopy(ReadBytes(path), copy, error)) << "round " << round << ": " << path << ": " << error;
        }
        for (int n = 0; n < kProfileCount; ++n) EXPECT_TRUE(ProfileFileIsWhole(install.ProfileFile(n))) << "round " << round;
        if (HasFailure()) break;
    }
    const std::size_t kept = test::FilesIn(history, "*.bkh").size();
    std::printf("killed %d times, %d of them in the middle of a history copy; %zu copies kept\n", rounds, killedMidCopy, kept);
    EXPECT_GT(killedMidCopy, 0) << "no kill landed in the middle of a copy";
    EXPECT_GT(kept, 1u);
    EXPECT_LE(kept, 20u);
}

// What a damaged profile file holds, and whether the monitor can read it at all.
struct Damage {
    const char* name;
    std::string bytes;
    bool readable;  // false: the file must be left exactly as it is
};

std::vector<Damage> Damages() {
    std::mt19937 random(7);
    std::string noise(4096, '\0');
    for (char& c : noise) c = static_cast<char>(random() & 0xFF);
    std::string nuls = "[Setting]\r\nProFileName=Nul";
    nuls += std::string(64, '\0');
    nuls += "\r\nGameFile=after.exe\r\n";
    const std::string longLine = "[Setting]\r\nProFileName=Long\r\nGameFile=" + std::string(10 * 1024 * 1024, 'x') + "\r\n";
    std::string utf16;
    for (char c : std::string("[Setting]\r\nProFileName=Wide\r\n")) {
        utf16 += c;
        utf16 += '\0';
    }
    return {
        {"random bytes", noise, true},
        {"cut-off struct value", "[Setting]\r\nProFileName=Cut\r\nMacroKeyInfo3=0102ABCD\r\n", true},
        {"NUL bytes", nuls, true},
        {"a 10 MB line", longLine, true},
        {"UTF-16 text", "\xFF\xFE" + utf16, false},
    };
}

TEST(MonitorFaults, DamagedFilesAtStartUpAreReadAsFarAsTheyCanBeAndUnreadableOnesAreNeverOverwritten) {
    const std::vector<Damage> damages = Damages();
    Installation install("faults-damage");
    // Profiles 0..4 get the damages; a sixth case, a file locked by another program, takes
    // profile 4 over from the last damage below.
    for (std::size_t n = 0; n < damages.size(); ++n) ASSERT_TRUE(WriteBytes(install.ProfileFile(static_cast<int>(n)), damages[n].bytes));
    ASSERT_TRUE(WriteBytes(install.ConfigIni(), std::string("[Setting]\r\nCurrentProfile=1\r\n") + std::string(100, '\0')));
    const std::string lockedText = "[Setting]\r\nProFileName=Locked\r\n";
    ASSERT_TRUE(WriteBytes(install.ProfileFile(4), lockedText));
    win32::ScopedHandle lock(CreateFileA(install.ProfileFile(4).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(lock.Valid());

    RunningMonitor monitor;
    ASSERT_TRUE(monitor.Start(install.Monitor()));
    PressProfileKey(MonitorWindow(), 3);  // a save of every profile
    Sleep(2000);
    ASSERT_NE(MonitorWindow(), nullptr) << "the monitor runs on";

    std::unique_ptr<StateRecord> state;
    {
        // Closed again before the next start: a lock that still exists keeps a monitor from starting.
        test::SharedBlockPeer peer;
        ASSERT_TRUE(peer.Open());
        state = peer.Read();
    }
    EXPECT_STREQ(state->Profiles[1].ProFileName, "Cut") << "the keys before the cut-off value are loaded";
    EXPECT_STREQ(state->Profiles[2].ProFileName, "Nul") << "the value up to the NUL bytes";
    EXPECT_STREQ(state->Profiles[3].ProFileName, "Long");
    EXPECT_STREQ(state->Profiles[4].ProFileName, "Default5") << "a locked file gives defaults";
    EXPECT_EQ(state->CurrentProfile, 2) << "the switch to profile 3 happened";

    lock.Reset();
    EXPECT_EQ(ReadBytes(install.ProfileFile(4)), lockedText) << "the locked file was not overwritten later";
    // The UTF-16 file cannot be read as the format is ANSI: it is left exactly as it was.
    // (Profile 4 held it before the lock case took its place, so write it again and restart.)
    ASSERT_EQ(monitor.Close(), 0);
    const Damage& wide = damages.back();
    ASSERT_FALSE(wide.readable);
    ASSERT_TRUE(WriteBytes(install.ProfileFile(4), wide.bytes));
    RunningMonitor again;
    ASSERT_TRUE(again.Start(install.Monitor()));
    PressProfileKey(MonitorWindow(), 2);
    Sleep(2000);
    EXPECT_EQ(ReadBytes(install.ProfileFile(4)), wide.bytes) << "an unreadable file is never overwritten";
    // The damaged but readable files were saved, and the platform reads them whole; the one of
    // random bytes got its keys after the noise, which the platform's reader does not reach
    // past its NUL bytes, so only its text is looked at there.
    for (int n = 1; n < 4; ++n) EXPECT_TRUE(ProfileFileIsWhole(install.ProfileFile(n))) << "readable files are saved whole: " << n;
    const std::string noisy = ReadBytes(install.ProfileFile(0));
    EXPECT_EQ(noisy.compare(0, damages[0].bytes.size(), damages[0].bytes), 0) << "what was before the keys stays";
    EXPECT_NE(noisy.find("\r\nMacroKeyInfo43="), std::string::npos) << "the keys were saved after it";
    EXPECT_EQ(again.Close(), 0);
}

}  // namespace
}  // namespace brenik::monitor
