// The resident monitor's working set and private bytes after start-up (keyboard plugged in,
// first synchronisation done), against a program that only owns one hidden window, measured
// in the same run. Finds its programs relative to its own folder in the build tree.

#include "program_folder.h"
#include "wine_test_support.h"

#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>

namespace {

using brenik::test::ChildProcess;

constexpr DWORD kStartTimeoutMs = 15000;
constexpr DWORD kSettleMs = 1500;  // start-up done and the 200 ms synchronisation timer fired

struct Memory {
    double workingSetKiB = 0;
    double privateKiB = 0;
};

bool Measure(HANDLE process, Memory& memory) {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters)) return false;
    memory.workingSetKiB = counters.WorkingSetSize / 1024.0;
    // Wine leaves PrivateUsage at 0; the commit charge (PagefileUsage) is the same figure on Windows.
    memory.privateKiB = (counters.PrivateUsage != 0 ? counters.PrivateUsage : counters.PagefileUsage) / 1024.0;
    return true;
}

bool WindowAppears(const char* title) {
    return brenik::test::WaitUntil([&] { return FindWindowA(nullptr, title) != nullptr; }, kStartTimeoutMs);
}

}  // namespace

int main() {
    const std::string build = brenik::ProgramFolder() + "..\\";
    const std::string tools = build + "tools\\";
    const std::string pipe = "BrenikMemoryBench-" + std::to_string(GetCurrentProcessId());

    ChildProcess server;
    if (!server.Start(tools + "vkbd-server.exe", "--pipe " + pipe)) {
        std::printf("monitor memory benchmark: cannot start the virtual keyboard\n");
        return 1;
    }
    brenik::test::WaitUntil([&] { return brenik::test::RunToEnd(tools + "vkbd.exe", "--pipe " + pipe + " status") == 0; },
                            kStartTimeoutMs, 100);

    brenik::test::TempFolder install("monitor-memory");
    brenik::test::CopyInto(build + "monitor\\app\\Monitor.exe", install.Path());
    brenik::test::CopyInto(tools + "kbhid\\kbhid.dll", install.Path());
    brenik::test::WriteTextFile(install.File("kbhid.ini"), "[Backend]\r\nType=virtual\r\nPipeName=" + pipe + "\r\n");
    CreateDirectoryA(install.File("config").c_str(), nullptr);

    ChildProcess baseline;
    ChildProcess monitor;
    Memory baselineMemory, monitorMemory;
    const bool ok = baseline.Start(brenik::ProgramFolder() + "idle_window.exe", "") && WindowAppears("BrenikIdleBaseline") &&
                    monitor.Start(install.File("Monitor.exe"), "") && WindowAppears("BrenikGamingKeyboardMonitor") &&
                    (Sleep(kSettleMs), true) && Measure(baseline.Handle(), baselineMemory) &&
                    Measure(monitor.Handle(), monitorMemory);

    PostMessageA(FindWindowA(nullptr, "BrenikGamingKeyboardMonitor"), WM_CLOSE, 0, 0);
    PostMessageA(FindWindowA(nullptr, "BrenikIdleBaseline"), WM_CLOSE, 0, 0);
    monitor.Wait(kStartTimeoutMs);
    baseline.Wait(kStartTimeoutMs);
    brenik::test::RunToEnd(tools + "vkbd.exe", "--pipe " + pipe + " stop");
    if (!ok) {
        std::printf("monitor memory benchmark: could not measure\n");
        return 1;
    }
    std::printf("Resident monitor after start-up (keyboard attached), against a program with one hidden window:\n");
    std::printf("  working set:   monitor %8.0f KiB   baseline %8.0f KiB   ratio %5.2fx\n", monitorMemory.workingSetKiB,
                baselineMemory.workingSetKiB, monitorMemory.workingSetKiB / baselineMemory.workingSetKiB);
    std::printf("  private bytes: monitor %8.0f KiB   baseline %8.0f KiB   ratio %5.2fx\n", monitorMemory.privateKiB,
                baselineMemory.privateKiB, monitorMemory.privateKiB / baselineMemory.privateKiB);
    return 0;
}
