// Monitor.exe against the virtual keyboard, with two profiles naming games:
//  - its CPU time over 60 s idle with the keyboard attached and a program that is no game in
//    front, 30 s before two profiles name games and 30 s after, against a program that only
//    owns one hidden window, in the same 60 s;
//  - the time from the foreground notice to the switch: a game comes to the front, the event
//    the system raises then (EVENT_SYSTEM_FOREGROUND) is raised from here, as Wine does not
//    raise it itself, and the clock runs until the shared block holds the new profile and
//    until job 3 has written it to the keyboard (its protocol trace, on the same counter);
//  - the time from a game in front to the switch by the game timer alone, as under Wine.
// Finds its programs relative to its own folder in the build tree.

#include "bench_timer.h"
#include "game_in_front_win32.h"
#include "monitor_inbox.h"
#include "monitor_installation_win32.h"
#include "peer_messages.h"
#include "program_folder.h"
#include "program_windows.h"
#include "scoped_handle.h"
#include "scoped_map_view.h"
#include "shared_block_peer_win32.h"
#include "wine_test_support.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace brenik::monitor::games {
namespace {

using test::NowMicroseconds;

constexpr DWORD kStartTimeoutMs = 15000;
constexpr DWORD kSwitchTimeoutMs = 5000;
constexpr DWORD kIdleMs = 60000;
constexpr int kHookRounds = 6;
constexpr int kTimerRounds = 4;
constexpr double kIdleTargetPercent = 0.1;
constexpr double kHookTargetMs = 20.0;
constexpr double kTimerBoundMs = 2000.0;
constexpr int kGameProfiles[] = {1, 3};
constexpr const char* kGameNames[] = {"GameOne.exe", "GameTwo.exe"};

std::string ReadWhole(const std::string& path) {
    std::string text;
    if (FILE* file = std::fopen(path.c_str(), "rb")) {
        char chunk[4096];
        for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;) text.append(chunk, n);
        std::fclose(file);
    }
    return text;
}

// Calls visit(name) for each entry of a folder whose name starts with a digit.
template <typename Visit>
void ForEachNumbered(const std::string& folder, Visit visit) {
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (found.cFileName[0] >= '0' && found.cFileName[0] <= '9' && !visit(std::string(found.cFileName))) break;
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

// The CPU time of the process started from `program`. Under Wine GetProcessTimes gives another
// process's times in 10 ms steps (or not at all), so the Unix process's own figure is read from
// /proc when there is one (through Wine's drive Z:): the run time in nanoseconds of each of its
// threads. It is found by its command line, which Wine sets to the program's Windows path;
// `program` lies in a folder of this run, so no other process matches. The wineserver's work
// on its behalf is not in it.
struct CpuTime {
    double seconds = 0;
    double windowThreadSeconds = 0;  // the first thread's, where the window and game detection run (/proc only)
    bool fromProc = false;
};

CpuTime CpuSeconds(HANDLE process, const std::string& program) {
    double cpu = 0, windowThread = 0;
    bool found = false;
    ForEachNumbered("Z:\\proc", [&](const std::string& pid) {
        const std::string folder = "Z:\\proc\\" + pid;
        const std::string commandLine = ReadWhole(folder + "\\cmdline");
        if (commandLine.size() < program.size() || _strnicmp(commandLine.c_str(), program.c_str(), program.size()) != 0) {
            return true;
        }
        ForEachNumbered(folder + "\\task", [&](const std::string& thread) {
            const double seconds = std::strtod(ReadWhole(folder + "\\task\\" + thread + "\\schedstat").c_str(), nullptr) / 1e9;
            cpu += seconds;
            if (thread == pid) windowThread = seconds;
            return true;
        });
        found = true;
        return false;
    });
    if (found) return {cpu, windowThread, true};
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return {};
    const auto seconds = [](const FILETIME& t) {
        return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
    };
    return {seconds(kernel) + seconds(user), 0, false};
}

// The time of the last "SET current-profile" line of the keyboard's trace, in microseconds.
std::int64_t LastCurrentProfileWrite(test::VirtualKeyboardServer& keyboard) {
    std::string trace;
    if (keyboard.Command("trace", &trace) != 0) return -1;
    std::int64_t last = -1;
    for (std::size_t at = trace.find("SET current-profile"); at != std::string::npos;
         at = trace.find("SET current-profile", at + 1)) {
        const std::size_t lineStart = trace.rfind('\n', at) == std::string::npos ? 0 : trace.rfind('\n', at) + 1;
        unsigned long long seconds = 0, micros = 0;
        if (std::sscanf(trace.c_str() + lineStart, "%llu.%llu", &seconds, &micros) == 2) {
            last = static_cast<std::int64_t>(seconds * 1000000 + micros);
        }
    }
    return last;
}

// The current profile as the shared block holds it, read without its lock and without copying
// the block, so that watching it neither delays the monitor's publish nor waits for it: an
// aligned 32-bit value is read whole.
class CurrentProfileWatch {
public:
    bool Open() {
        mapping_.Reset(OpenFileMappingA(FILE_MAP_READ, FALSE, kSharedBlockName));
        if (mapping_.Valid()) view_.Reset(MapViewOfFile(mapping_.Get(), FILE_MAP_READ, 0, 0, sizeof(std::int32_t)));
        return view_.Valid();
    }
    std::int32_t Current() const { return *static_cast<const volatile std::int32_t*>(view_.Get()); }
    // Spins (yielding) until the block holds `profile`; false when it did not come in time.
    bool WaitFor(std::int32_t profile, DWORD timeoutMs) const {
        const ULONGLONG end = GetTickCount64() + timeoutMs;
        while (Current() != profile) {
            if (GetTickCount64() >= end) return false;
            Sleep(0);
        }
        return true;
    }

private:
    win32::ScopedHandle mapping_;
    win32::ScopedMapView view_;
};

struct Load {
    double process = 0;       // percent of one core
    double windowThread = 0;
};

struct Spread {
    double min = 0, median = 0, max = 0;
};

Spread SpreadOf(std::vector<double> values) {
    if (values.empty()) return {};
    std::sort(values.begin(), values.end());
    return {values.front(), values[values.size() / 2], values.back()};
}

class Bench {
public:
    Bench()
        : build_(ProgramFolder() + "..\\"),
          keyboard_(build_ + "tools\\", "BrenikGameSwitchBench"),
          games_("game-switch-bench-programs"),
          peers_({kTitleVolumeController}) {}

    bool Start() {
        if (!keyboard_.Start()) return Fail("cannot start the virtual keyboard");
        install_ = std::make_unique<test::MonitorInstallation>("game-switch-bench", build_ + "monitor\\app\\Monitor.exe",
                                                               build_ + "tools\\kbhid\\kbhid.dll", keyboard_.Pipe());
        // A token that matches the keyboard's: the first synchronisation is two reads.
        std::array<std::uint8_t, 16> token{};
        WritePrivateProfileStructA("HidAccessCode", "Code", token.data(), token.size(), install_->ConfigIni().c_str());
        if (!monitor_.Start(install_->Monitor(), "")) return Fail("cannot start Monitor.exe");
        if (!test::WaitUntil([&] { return install_->DeviceKey() == 1; }, kStartTimeoutMs)) return Fail("no keyboard");
        if (!peers_.WaitFor(kTitleVolumeController, kMsgVolumeSyncDone, 1, kStartTimeoutMs)) return Fail("no synchronisation");
        window_ = FindWindowA(nullptr, kTitleMonitor);
        if (window_ == nullptr || !block_.Open() || !watch_.Open()) return Fail("no window or shared block");
        return true;
    }

    // As the settings program edits: the block, then 1226 (sent, so it is taken on return).
    void NameGames() {
        std::unique_ptr<StateRecord> state = block_.Read();
        for (int g = 0; g < 2; ++g) {
            std::snprintf(state->Profiles[kGameProfiles[g]].GameFile, sizeof state->Profiles[0].GameFile,
                          "C:\\Games\\%d\\%s", g, kGameNames[g]);
        }
        block_.Write(*state);
        DWORD_PTR answer = 0;
        SendMessageTimeoutA(window_, kMsgRereadShared1, 0, 0, SMTO_NORMAL, kStartTimeoutMs, &answer);
    }

    // Percent of one core over the idle time, half of it before the games are named (game
    // detection then asks the platform nothing), half after; the baseline over the whole time.
    bool Idle(Load& unnamed, Load& named, double& baselinePercent, bool& fromProc) {
        // Copied into this run's folder, so that its path is this run's own.
        const std::string baselineProgram = games_.File("idle_window.exe");
        CopyFileA((ProgramFolder() + "idle_window.exe").c_str(), baselineProgram.c_str(), FALSE);
        test::ChildProcess baseline;
        if (!baseline.Start(baselineProgram, "")) return Fail("cannot start idle_window.exe");
        GameInFront desktop(StandIn(), games_.Path(), "Desktop.exe");
        if (!desktop.Start(kStartTimeoutMs)) return Fail("the program that is no game did not come to the front");
        Sleep(500);
        const CpuTime baselineBefore = CpuSeconds(baseline.Handle(), baselineProgram);
        const double start = test::SecondsNow();
        unnamed = MonitorLoad(kIdleMs / 2);
        NameGames();
        named = MonitorLoad(kIdleMs / 2);
        const CpuTime baselineAfter = CpuSeconds(baseline.Handle(), baselineProgram);
        baselinePercent = 100.0 * (baselineAfter.seconds - baselineBefore.seconds) / (test::SecondsNow() - start);
        fromProc = baselineAfter.fromProc;
        PostMessageA(FindWindowA(nullptr, "BrenikIdleBaseline"), WM_CLOSE, 0, 0);
        return desktop.InFront() || Fail("the program that is no game left the front");
    }

    // One switch to game g; with `notice`, the foreground event is raised as soon as the game
    // is in front. Returns false when no switch came; `early` when the timer was first.
    bool Switch(int g, bool notice, double& toBlockMs, double& toKeyboardMs, bool& early) {
        GameInFront game(StandIn(), games_.Path(), kGameNames[g]);
        if (!game.Start(kStartTimeoutMs)) return Fail("a game did not come to the front");
        const std::int64_t start = NowMicroseconds();
        early = watch_.Current() == kGameProfiles[g];
        if (notice && !early) NotifyWinEvent(EVENT_SYSTEM_FOREGROUND, game.Window(), OBJID_WINDOW, CHILDID_SELF);
        const bool switched = watch_.WaitFor(kGameProfiles[g], kSwitchTimeoutMs);
        const std::int64_t atBlock = NowMicroseconds();
        if (!switched) return Fail("no switch");
        std::int64_t atKeyboard = -1;
        test::WaitUntil([&] { return (atKeyboard = LastCurrentProfileWrite(keyboard_)) > start; }, kSwitchTimeoutMs);
        toBlockMs = (atBlock - start) / 1000.0;
        toKeyboardMs = (atKeyboard - start) / 1000.0;
        return true;
    }

    void Stop() {
        if (window_ != nullptr) PostMessageA(window_, WM_CLOSE, 0, 0);
        monitor_.Wait(kStartTimeoutMs);
    }

private:
    // Percent of one core, the whole process's and its window thread's.
    Load MonitorLoad(DWORD milliseconds) {
        const CpuTime before = CpuSeconds(monitor_.Handle(), install_->Monitor());
        const double start = test::SecondsNow();
        Sleep(milliseconds);
        const CpuTime after = CpuSeconds(monitor_.Handle(), install_->Monitor());
        const double seconds = test::SecondsNow() - start;
        return {100.0 * (after.seconds - before.seconds) / seconds,
                100.0 * (after.windowThreadSeconds - before.windowThreadSeconds) / seconds};
    }
    std::string StandIn() const { return build_ + "monitor\\games\\game_stand_in.exe"; }
    static bool Fail(const char* what) {
        std::printf("game_switch_benchmark: %s\n", what);
        return false;
    }

    std::string build_;
    test::VirtualKeyboardServer keyboard_;
    test::TempFolder games_;
    test::PeerWindows peers_;
    std::unique_ptr<test::MonitorInstallation> install_;
    test::ChildProcess monitor_;
    test::SharedBlockPeer block_;
    CurrentProfileWatch watch_;
    HWND window_ = nullptr;
};

const char* Met(bool met) { return met ? "met" : "NOT MET"; }

}  // namespace
}  // namespace brenik::monitor::games

int main() {
    using namespace brenik::monitor::games;
    Bench bench;
    if (!bench.Start()) return 1;
    Load unnamed, named;
    double baselinePercent = 0;
    bool fromProc = false;
    bool ok = bench.Idle(unnamed, named, baselinePercent, fromProc);

    std::vector<double> hookBlock, hookKeyboard, timerBlock;
    int timerFirst = 0;
    for (int round = 0; ok && round < kHookRounds; ++round) {
        double toBlock = 0, toKeyboard = 0;
        bool early = false;
        ok = bench.Switch(round % 2, true, toBlock, toKeyboard, early);
        if (early) ++timerFirst;
        if (ok && !early) {
            hookBlock.push_back(toBlock);
            hookKeyboard.push_back(toKeyboard);
        }
    }
    for (int round = 0; ok && round < kTimerRounds; ++round) {
        double toBlock = 0, toKeyboard = 0;
        bool early = false;
        ok = bench.Switch(round % 2, false, toBlock, toKeyboard, early);
        if (ok) timerBlock.push_back(toBlock);
    }
    bench.Stop();
    if (!ok) return 1;

    const Spread block = SpreadOf(hookBlock), keyboard = SpreadOf(hookKeyboard), timer = SpreadOf(timerBlock);
    std::printf("game_switch_benchmark: Monitor.exe with the keyboard attached and two profiles naming games\n");
    std::printf("  CPU idle, %s; baseline (one hidden window) %.4f %% of a core over %.0f s\n",
                fromProc ? "threads' run time from /proc" : "GetProcessTimes", baselinePercent, kIdleMs / 1000.0);
    std::printf("    monitor, %2.0f s, no profile names a game:            %.4f %% of a core (window thread %.4f %%, others %.4f %%)\n",
                kIdleMs / 2000.0, unnamed.process, unnamed.windowThread, unnamed.process - unnamed.windowThread);
    std::printf("    monitor, %2.0f s, two games named, no game in front:  %.4f %% of a core (window thread %.4f %%, others %.4f %%)"
                "  target under %.1f %%: %s\n",
                kIdleMs / 2000.0, named.process, named.windowThread, named.process - named.windowThread, kIdleTargetPercent,
                Met(named.process < kIdleTargetPercent));
    std::printf("    game detection's share (window thread, named - not): %.4f %% of a core  target under %.1f %%: %s\n",
                named.windowThread - unnamed.windowThread, kIdleTargetPercent,
                Met(named.windowThread - unnamed.windowThread < kIdleTargetPercent));
    std::printf("  foreground event raised -> shared block holds the profile: min %6.1f  median %6.1f  max %6.1f ms"
                "  (%zu switches; target under %.0f ms, median: %s)\n",
                block.min, block.median, block.max, hookBlock.size(), kHookTargetMs, Met(block.median < kHookTargetMs));
    std::printf("  foreground event raised -> job 3 at the keyboard:          min %6.1f  median %6.1f  max %6.1f ms\n",
                keyboard.min, keyboard.median, keyboard.max);
    if (timerFirst > 0) std::printf("  (%d more switch(es) came from the game timer before the event was raised)\n", timerFirst);
    std::printf("  game in front -> shared block, game timer only (as under Wine): min %6.1f  median %6.1f  max %6.1f ms"
                "  (bounded by %.0f ms: %s)\n",
                timer.min, timer.median, timer.max, kTimerBoundMs, Met(timer.max <= kTimerBoundMs + block.max));
    return hookBlock.empty() ? 1 : 0;
}
