// The cost of one look of game detection (DetectGame) with the platform's real answers, on a
// machine with a few hundred processes (the run starts 200 idle ones), against the bare
// foreground query every look begins with, measured in the same run:
//  - the usual look: a program that is no game in front; its name and five compares;
//  - the same when the full open is refused and the image path names the program;
//  - a look that switches, which also takes the whole process list; once more before the idle
//    processes are started, for the machine as it was.
// CPU time is this process's own (under Wine the wineserver's share is not in it); the wall
// time holds the waits for the server as well.

#include "bench_timer.h"
#include "foreground_process_win32.h"
#include "game_detection.h"
#include "program_folder.h"
#include "wine_test_support.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace brenik::monitor::games {
namespace {

constexpr int kIdleProcesses = 200;
constexpr double kRunSeconds = 1.0;  // each figure: looks for about this long
constexpr double kTargetMicroseconds = 1000.0;

struct Cost {
    double cpuMicroseconds = 0;
    double wallMicroseconds = 0;
    int looks = 0;
};

double ProcessCpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto seconds = [](const FILETIME& t) {
        return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

template <typename Look>
Cost PerLook(Look look) {
    Cost cost;
    const double cpu = ProcessCpuSeconds();
    const double start = test::SecondsNow();
    do {
        look();
        ++cost.looks;
    } while (test::SecondsNow() - start < kRunSeconds || cost.looks < 20);
    cost.wallMicroseconds = (test::SecondsNow() - start) / cost.looks * 1e6;
    cost.cpuMicroseconds = (ProcessCpuSeconds() - cpu) / cost.looks * 1e6;
    return cost;
}

// The platform's answers, except that the full open is refused, as an elevated game does.
class FullOpenRefused final : public IForegroundProcess {
public:
    ProcessId ForegroundProcessId() override { return platform_.ForegroundProcessId(); }
    bool EnumerateProcesses(ProcessId* ids, std::size_t capacity, std::size_t& written) override {
        return platform_.EnumerateProcesses(ids, capacity, written);
    }
    bool MainModuleName(ProcessId, std::string&) override { return false; }
    bool ImagePath(ProcessId id, std::string& path) override { return platform_.ImagePath(id, path); }

private:
    Win32ForegroundProcess platform_;
};

void NameGames(WorkingCopy& state, const char* lastGame) {
    state.Use([&](StateRecord& s) {
        s.CurrentProfile = 0;
        for (int n = 0; n < kProfileCount; ++n) {
            std::snprintf(s.Profiles[n].GameFile, sizeof s.Profiles[n].GameFile, "C:\\Games\\Game%d\\game%d.exe", n, n);
        }
        std::snprintf(s.Profiles[kProfileCount - 1].GameFile, sizeof s.Profiles[0].GameFile, "%s", lastGame);
    });
}

HWND WindowInFront() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "BrenikGameDetectionBenchmark";
    RegisterClassA(&windowClass);
    const HWND window = CreateWindowExA(0, windowClass.lpszClassName, "game detection benchmark", WS_OVERLAPPEDWINDOW,
                                        100, 100, 300, 200, nullptr, nullptr, windowClass.hInstance, nullptr);
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    test::WaitUntil([&] { return GetForegroundWindow() == window; }, 15000);
    return window;
}

std::size_t RunningProcesses() {
    std::vector<ProcessId> ids(65536);
    std::size_t written = 0;
    Win32ForegroundProcess().EnumerateProcesses(ids.data(), ids.size(), written);
    return written;
}

void Print(const char* what, const Cost& cost, const Cost& baseline, bool target) {
    std::printf("  %-38s CPU %8.1f us   wall %8.1f us   %6.1fx the baseline's wall time  (%d looks)", what,
                cost.cpuMicroseconds, cost.wallMicroseconds, cost.wallMicroseconds / baseline.wallMicroseconds,
                cost.looks);
    if (target) std::printf("  target CPU under 1 ms: %s", cost.cpuMicroseconds < kTargetMicroseconds ? "met" : "NOT MET");
    std::printf("\n");
}

}  // namespace
}  // namespace brenik::monitor::games

int main() {
    using namespace brenik;
    using namespace brenik::monitor::games;
    const HWND window = WindowInFront();
    if (GetForegroundWindow() != window) {
        std::printf("game_detection_benchmark: its window did not come to the front\n");
        return 1;
    }
    char self[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);

    Win32ForegroundProcess platform;
    FullOpenRefused refused;
    WorkingCopy noGame, ownGame;
    NameGames(noGame, "C:\\Games\\Game4\\game4.exe");
    NameGames(ownGame, self);  // this program is profile 4's game; profile 0 stays current
    int switches = 0;
    GameDetection usual(noGame, platform, [&](int) { ++switches; });
    GameDetection viaImagePath(noGame, refused, [&](int) { ++switches; });
    GameDetection switching(ownGame, platform, [&](int) { ++switches; });

    const std::size_t processesBefore = RunningProcesses();
    const Cost switchingBefore = PerLook([&] { switching.DetectGame(); });
    const bool switchedBefore = switches == switchingBefore.looks;

    const std::string sleeper = ProgramFolder() + "process_sleeper.exe";
    const std::string parent = std::to_string(GetCurrentProcessId());
    std::vector<test::ChildProcess> idle(kIdleProcesses);
    const double spawnStart = test::SecondsNow();
    for (test::ChildProcess& process : idle) {
        if (!process.Start(sleeper, parent)) {
            std::printf("game_detection_benchmark: cannot start %s\n", sleeper.c_str());
            return 1;
        }
    }
    const double spawnSeconds = test::SecondsNow() - spawnStart;

    const Cost baseline = PerLook([&] {
        DWORD id = 0;
        GetWindowThreadProcessId(GetForegroundWindow(), &id);
    });
    const Cost usualLook = PerLook([&] { usual.DetectGame(); });
    const Cost imagePathLook = PerLook([&] { viaImagePath.DetectGame(); });
    const int switchesSoFar = switches;
    const Cost switchingLook = PerLook([&] { switching.DetectGame(); });
    const bool switched = switchedBefore && switches - switchesSoFar == switchingLook.looks;

    std::printf("game_detection_benchmark: one look of DetectGame, %zu processes running (%d started for it in %.1f s)\n",
                RunningProcesses(), kIdleProcesses, spawnSeconds);
    Print("bare foreground query (baseline)", baseline, baseline, false);
    Print("look, no game in front", usualLook, baseline, true);
    Print("look, full open refused (image path)", imagePathLook, baseline, true);
    Print("look that switches (with process list)", switchingLook, baseline, true);
    const std::string before = "the same, " + std::to_string(processesBefore) + " processes (before)";
    Print(before.c_str(), switchingBefore, baseline, true);
    std::printf("  every switching look switched:          %s\n", switched ? "yes" : "NO");
    DestroyWindow(window);
    return switched ? 0 : 1;
}
