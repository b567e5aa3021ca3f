#pragma once
// What another process holds, as the system counts it: kernel handles, USER and GDI objects,
// threads, private bytes and working set. Wine answers some of these with 0 (GetGuiResources
// and the handle count of another process are stubs there, PrivateUsage is not filled in): a
// figure of 0 is kept as read, and CountersGiven says which ones the system really gave, so a
// report can name the missing ones instead of reading 0 as "nothing held". Two counts stand in
// where Wine gives none: the process's entries in the system's handle table (which Wine takes
// from its server, so they are real) and its windows, top-level and child.

#include <windows.h>

#include <cstdint>

namespace brenik::monitor::test {

struct ProcessCounters {
    bool alive = false;
    DWORD handles = 0;      // GetProcessHandleCount
    DWORD tableHandles = 0; // the process's entries in NtQuerySystemInformation(SystemHandleInformation)
    DWORD windows = 0;      // its top-level windows and all their children
    DWORD userObjects = 0;  // GetGuiResources(GR_USEROBJECTS)
    DWORD gdiObjects = 0;   // GetGuiResources(GR_GDIOBJECTS)
    DWORD threads = 0;      // the process's threads in a Toolhelp snapshot
    std::uint64_t privateBytes = 0;     // PROCESS_MEMORY_COUNTERS_EX::PrivateUsage
    std::uint64_t pagefileBytes = 0;    // PagefileUsage: the commit charge
    std::uint64_t workingSetBytes = 0;  // WorkingSetSize
};

// Reads every counter of the process; alive is false when it has ended (the counters of an
// ended process are left at 0).
ProcessCounters ReadProcessCounters(HANDLE process);

// The least of `readings` readings taken `intervalMs` apart, counter by counter: what the
// process keeps, without what it has in flight at one moment (a sound cue's playing thread
// and its stack, a pipe connection of a job). Anything kept stays in every reading.
ProcessCounters ReadSettledCounters(HANDLE process, int readings, DWORD intervalMs);

// Which counters came back as real figures in a set of readings: a counter the system does not
// give reads 0 in every one of them, where a real one never can (a running process holds at
// least one handle, thread and page).
struct CountersGiven {
    bool handles = false;
    bool tableHandles = false;
    bool windows = false;
    bool userObjects = false;
    bool gdiObjects = false;
    bool threads = false;
    bool privateBytes = false;
    bool pagefileBytes = false;
    bool workingSet = false;
};

CountersGiven CountersGivenIn(const ProcessCounters* readings, int count);

}  // namespace brenik::monitor::test
