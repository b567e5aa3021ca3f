// The system gauge's processor time while it shows both readings, against a program that only
// owns one hidden window, measured over the same window of time (20 s, or the seconds given as
// the first argument). Printed as percent of one processor and their ratio; the gauge's goal
// is under 0.1 % of one processor. Finds its programs relative to its own folder in the build tree.

#include "config_ini_keys.h"
#include "ini_file.h"
#include "osd_settings_record.h"
#include "program_folder.h"
#include "program_windows.h"
#include "wine_test_support.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using brenik::test::ChildProcess;

constexpr DWORD kStartTimeoutMs = 15000;
constexpr DWORD kSettleMs = 2000;  // start-up done and the first readings shown
constexpr int kDefaultSeconds = 20;
constexpr double kGoalPercent = 0.1;

std::uint64_t ProcessorTime(HANDLE process) {  // kernel + user, 100 ns units
    FILETIME created{}, ended{}, kernel{}, user{};
    if (!GetProcessTimes(process, &created, &ended, &kernel, &user)) return 0;
    const auto ticks = [](const FILETIME& time) {
        return static_cast<std::uint64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
    };
    return ticks(kernel) + ticks(user);
}

bool WindowAppears(const char* title) {
    return brenik::test::WaitUntil([&] { return FindWindowA(nullptr, title) != nullptr; }, kStartTimeoutMs);
}

}  // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::atoi(argv[1]) : kDefaultSeconds;
    if (seconds <= 0) {
        std::printf("usage: system_gauge_benchmark [seconds]\n");
        return 2;
    }
    const std::string build = brenik::ProgramFolder() + "..\\";
    brenik::test::TempFolder install("system-gauge-bench");
    CreateDirectoryA(install.File("Applets").c_str(), nullptr);
    brenik::test::CopyInto(build + "applets\\system-gauge\\SysGauge.exe", install.File("Applets\\"));
    brenik::OsdSettings settings{};
    settings.GaugeCpu = 1;
    settings.GaugeRam = 1;
    brenik::ini::CIniFile(install.File(brenik::kConfigFileName))
        .WriteStruct(brenik::kOsdSettingsSection, brenik::kOsdSettingsKey, &settings, sizeof settings);

    ChildProcess baseline;
    ChildProcess gauge;
    const bool started = baseline.Start(brenik::ProgramFolder() + "idle_window.exe", "") &&
                         WindowAppears("BrenikIdleBaseline") &&
                         gauge.Start(install.File(brenik::kProgramSystemGauge), "") &&
                         WindowAppears(brenik::kTitleSystemGauge);
    std::uint64_t gaugeTime = 0, baselineTime = 0;
    LARGE_INTEGER frequency{}, begin{}, end{};
    if (started) {
        Sleep(kSettleMs);
        QueryPerformanceFrequency(&frequency);
        QueryPerformanceCounter(&begin);
        const std::uint64_t gaugeBefore = ProcessorTime(gauge.Handle());
        const std::uint64_t baselineBefore = ProcessorTime(baseline.Handle());
        Sleep(static_cast<DWORD>(seconds) * 1000);
        gaugeTime = ProcessorTime(gauge.Handle()) - gaugeBefore;
        baselineTime = ProcessorTime(baseline.Handle()) - baselineBefore;
        QueryPerformanceCounter(&end);
    }
    PostMessageA(FindWindowA(nullptr, brenik::kTitleSystemGauge), WM_CLOSE, 0, 0);
    PostMessageA(FindWindowA(nullptr, "BrenikIdleBaseline"), WM_CLOSE, 0, 0);
    const bool ended = gauge.Wait(kStartTimeoutMs) == 0;
    baseline.Wait(kStartTimeoutMs);
    if (!started || !ended) {
        std::printf("system gauge benchmark: could not measure (started %d, ended %d)\n", started, ended);
        return 1;
    }
    if (gaugeTime == 0 && baselineTime == 0) {
        // Wine's wineserver gives other processes' times as 0: no figure, rather than a goal "met" on nothing.
        std::printf("system gauge benchmark: the system reports no processor time for either process; no figure\n");
        return 1;
    }
    const double elapsed100ns = static_cast<double>(end.QuadPart - begin.QuadPart) * 1e7 / frequency.QuadPart;
    const double gaugePercent = 100.0 * gaugeTime / elapsed100ns;
    const double baselinePercent = 100.0 * baselineTime / elapsed100ns;
    std::printf("System gauge (both readings, once a second) over %.1f s, against a program with one idle window:\n",
                elapsed100ns / 1e7);
    std::printf("  processor time: gauge %8.1f ms (%.4f %% of one processor)   baseline %8.1f ms (%.4f %%)\n",
                gaugeTime / 1e4, gaugePercent, baselineTime / 1e4, baselinePercent);
    if (baselineTime > 0) {
        std::printf("  ratio %.2fx\n", static_cast<double>(gaugeTime) / baselineTime);
    } else {
        std::printf("  ratio: the baseline used no measurable time\n");
    }
    std::printf("  goal: under %.1f %% of one processor: %s\n", kGoalPercent, gaugePercent < kGoalPercent ? "met" : "NOT met");
    return 0;
}
