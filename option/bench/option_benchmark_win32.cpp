// The settings program's figures, measured in one run against an empty dialog program of the
// same build: start until the window shows, working set once shown, and an Apply of one
// colour until the monitor's answer greys no more against the keyboard's own time for that
// apply's reports. Prints each ratio and whether its target is met; it never fails on a target.
// Finds its programs relative to its own folder in the build tree.

#include "bench_timer.h"
#include "keyboard_trace_win32.h"
#include "peer_messages.h"
#include "program_folder.h"
#include "program_windows.h"
#include "window_controls_win32.h"
#include "wine_test_support.h"

#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using brenik::test::ChildProcess;
using brenik::test::WaitUntil;

constexpr const char* kOptionTitle = "Brenik Gaming Keyboard Option";
constexpr const char* kOptionClass = "BrenikOptionWindow";
constexpr const char* kEmptyTitle = "BrenikEmptyDialog";
constexpr DWORD kStartTimeoutMs = 15000;
constexpr DWORD kFirstSyncTimeoutMs = 60000;
constexpr DWORD kSettleMs = 1000;
constexpr int kRounds = 3;
// The apply job sleeps one step (the monitor's kStepPauseMs, monitor/device/device_protocol.h)
// before its lighting report; the trace starts at that report, so the floor adds it.
constexpr double kLeadingStepPauseMs = 100;
// Control ids of the settings window (option_resources.h).
constexpr int kProfileChoice = 1004;
constexpr int kApply = 1008;
constexpr int kTabs = 1005;
constexpr int kKeyHex = 1303;
constexpr int kLightingTab = 2;

HWND Control(HWND top, int id) { return brenik::test::FindControl(top, id); }

double WorkingSetKiB(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    return GetProcessMemoryInfo(process, &counters, sizeof counters) ? counters.WorkingSetSize / 1024.0 : 0.0;
}

// One start: seconds from CreateProcess until the window is visible, and the working set once
// it is shown and settled; the program is closed again.
struct StartFigures {
    double seconds = 1e9;
    double workingSetKiB = 0;
};

bool StartOnce(const std::string& exe, const char* windowClass, const char* title, StartFigures& best) {
    ChildProcess program;
    const double start = brenik::test::SecondsNow();
    if (!program.Start(exe, "")) return false;
    HWND window = nullptr;
    if (!WaitUntil([&] { return (window = FindWindowA(windowClass, title)) != nullptr && IsWindowVisible(window); },
                   kStartTimeoutMs, 1)) {
        return false;
    }
    best.seconds = std::min(best.seconds, brenik::test::SecondsNow() - start);
    Sleep(kSettleMs);
    best.workingSetKiB = std::max(best.workingSetKiB, WorkingSetKiB(program.Handle()));
    PostMessageA(window, WM_CLOSE, 0, 0);
    return program.Wait(kStartTimeoutMs) >= 0;
}

// One apply of one colour: from the click to the buttons' return, and the keyboard's trace
// from the first to the last report of it.
struct ApplyFigures {
    double seconds = 0;
    double floorSeconds = 0;
    int reports = 0;
};

bool ApplyOnce(HWND window, brenik::test::VirtualKeyboardServer& keyboard, const wchar_t* colour, ApplyFigures& figures) {
    SendMessageW(Control(window, kKeyHex), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(colour));
    if (keyboard.Command("trace clear") != 0) return false;
    const HWND apply = Control(window, kApply);
    const std::int64_t clicked = brenik::test::NowMicroseconds();
    SendMessageW(apply, BM_CLICK, 0, 0);
    if (IsWindowEnabled(apply)) return false;  // nothing was sent
    if (!WaitUntil([&] { return IsWindowEnabled(apply) != FALSE; }, kStartTimeoutMs, 1)) return false;
    const std::int64_t answered = brenik::test::NowMicroseconds();
    std::vector<brenik::test::TraceEntry> reports;
    for (const brenik::test::TraceEntry& entry : brenik::test::ReadKeyboardTrace(keyboard)) {
        if (!entry.IsHostNote()) reports.push_back(entry);
    }
    if (reports.empty()) return false;
    figures.seconds = (answered - clicked) / 1e6;
    figures.floorSeconds =
        (reports.back().microseconds - reports.front().microseconds) / 1e6 + kLeadingStepPauseMs / 1e3;
    figures.reports = static_cast<int>(reports.size());
    return true;
}

void PrintRatio(const char* what, double ratio, double target) {
    std::printf("  %-44s ratio %6.2fx   target at most %.2fx: %s\n", what, ratio, target,
                ratio <= target ? "met" : "NOT met");
}

}  // namespace

int main() {
    const std::string build = brenik::ProgramFolder() + "..\\";
    const std::string tools = build + "tools\\";
    const std::string optionExe = build + "option\\" + brenik::kProgramSettings;
    const std::string emptyExe = brenik::ProgramFolder() + "empty_dialog.exe";

    brenik::test::VirtualKeyboardServer keyboard(tools, "BrenikOptionBench");
    brenik::test::PeerWindows volumeController({brenik::kTitleVolumeController});
    brenik::test::TempFolder install("option-bench");
    bool ok = keyboard.Start() && brenik::test::CopyInto(build + "monitor\\app\\Monitor.exe", install.Path()) &&
              brenik::test::CopyInto(tools + "kbhid\\kbhid.dll", install.Path()) &&
              brenik::test::CopyInto(optionExe, install.Path()) &&
              brenik::test::WriteTextFile(install.File("kbhid.ini"), brenik::test::VirtualKbhidIni(keyboard.Pipe()));
    CreateDirectoryA(install.File("config").c_str(), nullptr);
    ChildProcess monitor;
    ok = ok && monitor.Start(install.File("Monitor.exe"), "") &&
         volumeController.WaitFor(brenik::kTitleVolumeController, brenik::kMsgVolumeSyncDone, 1, kFirstSyncTimeoutMs);
    if (!ok) {
        std::printf("option benchmark: the monitor and the virtual keyboard did not come up\n");
        return 1;
    }

    // Start-up and memory, the rounds of both programs interleaved so load falls on both alike.
    StartFigures empty, option;
    const std::string installedOption = install.File(brenik::kProgramSettings);
    for (int round = 0; round < kRounds && ok; ++round) {
        ok = StartOnce(emptyExe, nullptr, kEmptyTitle, empty) && StartOnce(installedOption, kOptionClass, kOptionTitle, option);
        if (!ok) std::printf("option benchmark: a start did not show its window\n");
    }

    // Applies of one colour, each a different one, on profile 1's lighting page.
    ApplyFigures bestApply{1e9, 0, 0};
    ChildProcess program;
    HWND window = nullptr;
    ok = ok && program.Start(installedOption, "") &&
         WaitUntil([&] { return (window = FindWindowA(kOptionClass, kOptionTitle)) != nullptr && IsWindowVisible(window); },
                   kStartTimeoutMs);
    if (ok) {
        const HWND tabs = Control(window, kTabs);
        SendMessageW(tabs, TCM_SETCURSEL, kLightingTab - 1, 0);  // the tab before it, then Right
        PostMessageW(tabs, WM_KEYDOWN, VK_RIGHT, 0);
        const HWND combo = Control(window, kProfileChoice);
        SendMessageW(combo, CB_SETCURSEL, 0, 0);
        SendMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(kProfileChoice, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
        Sleep(kSettleMs);
        // Profiles start red: each colour differs from the one before it and from red.
        const wchar_t* colours[] = {L"00FF00", L"0000FF", L"FFFF00", L"00FFFF", L"FF00FF"};
        for (const wchar_t* colour : colours) {
            ApplyFigures figures;
            if (!ApplyOnce(window, keyboard, colour, figures)) {
                std::printf("option benchmark: the apply of %ls did not go through\n", colour);
                ok = false;
                break;
            }
            if (figures.seconds < bestApply.seconds) bestApply = figures;
        }
        PostMessageA(window, WM_CLOSE, 0, 0);
        program.Wait(kStartTimeoutMs);
    }
    PostMessageA(FindWindowA(nullptr, brenik::kTitleMonitor), WM_CLOSE, 0, 0);
    monitor.Wait(kStartTimeoutMs);
    if (!ok) {
        std::printf("option benchmark: could not measure\n");
        return 1;
    }

    std::printf("Brenik Option.exe against an empty dialog program (best of %d starts; monitor running, keyboard attached):\n",
                kRounds);
    std::printf("  start to window shown:  option %8.1f ms   empty dialog %8.1f ms\n", option.seconds * 1e3, empty.seconds * 1e3);
    PrintRatio("start to window shown", option.seconds / empty.seconds, 2.0);
    std::printf("  working set once shown: option %8.0f KiB  empty dialog %8.0f KiB\n", option.workingSetKiB, empty.workingSetKiB);
    PrintRatio("working set", option.workingSetKiB / empty.workingSetKiB, 2.0);
    std::printf("Apply of one colour until OK/Apply come back (1256), best of 5, against the job's pacing floor:\n"
                "the keyboard trace's time from the apply's first to its last report (%d reports, status polls\n"
                "included) and the job's step pause before its first report (%.0f ms):\n",
                bestApply.reports, kLeadingStepPauseMs);
    std::printf("  apply to 1256:          %8.1f ms   pacing floor %8.1f ms\n", bestApply.seconds * 1e3,
                bestApply.floorSeconds * 1e3);
    PrintRatio("apply against its pacing floor", bestApply.seconds / bestApply.floorSeconds, 1.05);
    return 0;
}
