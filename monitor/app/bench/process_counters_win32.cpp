#include "process_counters_win32.h"

#include "scoped_handle.h"

#include <algorithm>
#include <cstddef>

#include <psapi.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <vector>

namespace brenik::monitor::test {
namespace {

DWORD ThreadsOf(DWORD processId) {
    win32::ScopedHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    if (!snapshot.Valid()) return 0;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    DWORD threads = 0;
    for (BOOL more = Thread32First(snapshot.Get(), &entry); more; more = Thread32Next(snapshot.Get(), &entry)) {
        if (entry.th32OwnerProcessID == processId) ++threads;
    }
    return threads;
}

// The table holds every process's handles; it is read whole, into a buffer grown until it fits.
DWORD TableHandlesOf(DWORD processId) {
    constexpr NTSTATUS kLengthMismatch = static_cast<NTSTATUS>(0xC0000004);
    constexpr ULONG kLargestTable = 64u << 20;
    std::vector<unsigned char> buffer(1u << 16);
    for (;;) {
        ULONG needed = 0;
        const NTSTATUS status = NtQuerySystemInformation(SystemHandleInformation, buffer.data(),
                                                         static_cast<ULONG>(buffer.size()), &needed);
        if (status == kLengthMismatch && buffer.size() < kLargestTable) {
            buffer.resize(std::max<std::size_t>(buffer.size() * 2, needed + 4096));
            continue;
        }
        if (status < 0) return 0;
        break;
    }
    const auto* table = reinterpret_cast<const SYSTEM_HANDLE_INFORMATION*>(buffer.data());
    const std::size_t room = (buffer.size() - offsetof(SYSTEM_HANDLE_INFORMATION, Handle)) / sizeof(SYSTEM_HANDLE_ENTRY);
    const std::size_t count = std::min<std::size_t>(table->Count, room);
    DWORD handles = 0;
    for (std::size_t i = 0; i < count; ++i) handles += table->Handle[i].OwnerPid == processId;
    return handles;
}

struct WindowCount {
    DWORD processId;
    DWORD windows;
};

BOOL CALLBACK CountChild(HWND, LPARAM context) {
    ++reinterpret_cast<WindowCount*>(context)->windows;
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM context) {
    auto* count = reinterpret_cast<WindowCount*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != count->processId) return TRUE;
    ++count->windows;
    EnumChildWindows(window, &CountChild, context);  // every descendant, not only the direct children
    return TRUE;
}

DWORD WindowsOf(DWORD processId) {
    WindowCount count{processId, 0};
    EnumWindows(&CountTopLevel, reinterpret_cast<LPARAM>(&count));
    return count.windows;
}

}  // namespace

ProcessCounters ReadProcessCounters(HANDLE process) {
    ProcessCounters counters;
    DWORD exitCode = 0;
    if (!GetExitCodeProcess(process, &exitCode) || exitCode != STILL_ACTIVE) return counters;
    counters.alive = true;
    const DWORD processId = GetProcessId(process);
    GetProcessHandleCount(process, &counters.handles);
    counters.tableHandles = TableHandlesOf(processId);
    counters.windows = WindowsOf(processId);
    counters.userObjects = GetGuiResources(process, GR_USEROBJECTS);
    counters.gdiObjects = GetGuiResources(process, GR_GDIOBJECTS);
    counters.threads = ThreadsOf(processId);
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory)) {
        counters.privateBytes = memory.PrivateUsage;
        counters.pagefileBytes = memory.PagefileUsage;
        counters.workingSetBytes = memory.WorkingSetSize;
    }
    return counters;
}

ProcessCounters ReadSettledCounters(HANDLE process, int readings, DWORD intervalMs) {
    ProcessCounters least = ReadProcessCounters(process);
    for (int i = 1; i < readings && least.alive; ++i) {
        Sleep(intervalMs);
        const ProcessCounters next = ReadProcessCounters(process);
        if (!next.alive) return next;
        least.handles = std::min(least.handles, next.handles);
        least.tableHandles = std::min(least.tableHandles, next.tableHandles);
        least.windows = std::min(least.windows, next.windows);
        least.userObjects = std::min(least.userObjects, next.userObjects);
        least.gdiObjects = std::min(least.gdiObjects, next.gdiObjects);
        least.threads = std::min(least.threads, next.threads);
        least.privateBytes = std::min(least.privateBytes, next.privateBytes);
        least.pagefileBytes = std::min(least.pagefileBytes, next.pagefileBytes);
        least.workingSetBytes = std::min(least.workingSetBytes, next.workingSetBytes);
    }
    return least;
}

CountersGiven CountersGivenIn(const ProcessCounters* readings, int count) {
    CountersGiven given;
    for (int i = 0; i < count; ++i) {
        const ProcessCounters& r = readings[i];
        if (!r.alive) continue;
        given.handles |= r.handles != 0;
        given.tableHandles |= r.tableHandles != 0;
        given.windows |= r.windows != 0;
        given.userObjects |= r.userObjects != 0;
        given.gdiObjects |= r.gdiObjects != 0;
        given.threads |= r.threads != 0;
        given.privateBytes |= r.privateBytes != 0;
        given.pagefileBytes |= r.pagefileBytes != 0;
        given.workingSet |= r.workingSetBytes != 0;
    }
    return given;
}

}  // namespace brenik::monitor::test
