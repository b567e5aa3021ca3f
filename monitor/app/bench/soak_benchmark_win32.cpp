// The soak as a benchmark: the real Monitor.exe against the virtual keyboard, a long mixture of
// events, then idle time (monitor_soak_win32.h). Prints the monitor's handles, USER and GDI
// objects, threads and memory at the start, after half the events, at the end and after the
// idle time, and the growth from the half to the end per 1,000 events: what the monitor keeps
// per event shows there, after the first events have loaded whatever loads once.
//
//   soak_benchmark [EVENTS [IDLE_SECONDS]]
// or BRENIK_SOAK_EVENTS / BRENIK_SOAK_IDLE_SECONDS; by default a short soak (1,000 events,
// 10 s) that the test command runs. scripts/soak.sh runs the full one (10,000 events, 60 s).
// Ends with 1 when the monitor died, stopped answering, or a counter grew with the events.
// Finds its programs relative to its own folder in the build tree.

#include "monitor_soak_win32.h"
#include "program_folder.h"
#include "wine_test_support.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using brenik::monitor::test::CountersGiven;
using brenik::monitor::test::ProcessCounters;
using brenik::monitor::test::SoakCheckpoint;
using brenik::monitor::test::SoakResult;

constexpr std::uint32_t kDefaultEvents = 1000;
constexpr unsigned kDefaultIdleSeconds = 10;
constexpr std::uint32_t kMaxEvents = 10000000;
constexpr unsigned kMaxIdleSeconds = 3600;

// How much a counter may move between the half and the end without counting as growth. The
// readings are the least over a few seconds, but a short-lived thread that happens to last
// through them still counts, with a handle and its stack (about 1 MiB of commit under Wine),
// and the heap grows in steps. Anything kept per batch of events, even one handle in fifty
// events, goes past these in the full soak.
constexpr long kCountSlack = 6;
constexpr double kMemorySlackKiB = 2048;

bool ReadNumber(const char* text, unsigned long max, unsigned long& value) {
    if (text == nullptr || *text == '\0') return false;
    char* end = nullptr;
    const unsigned long number = std::strtoul(text, &end, 10);
    if (*end != '\0' || number == 0 || number > max) return false;
    value = number;
    return true;
}

// An argument, else the environment variable, else the default; false for a value that is
// given but not a number in range.
bool Setting(int argc, char** argv, int position, const char* variable, unsigned long max, unsigned long& value) {
    const char* text = argc > position ? argv[position] : std::getenv(variable);
    if (text == nullptr) return true;
    if (ReadNumber(text, max, value)) return true;
    std::printf("soak benchmark: %s is not a number from 1 to %lu\n", text, max);
    return false;
}

struct Row {
    const char* name;
    bool given;
    double (*value)(const ProcessCounters&);
    double slack;  // growth from the half to the end allowed before it counts
    bool judged;
};

double Handles(const ProcessCounters& c) { return c.handles; }
double TableHandles(const ProcessCounters& c) { return c.tableHandles; }
double Windows(const ProcessCounters& c) { return c.windows; }
double UserObjects(const ProcessCounters& c) { return c.userObjects; }
double GdiObjects(const ProcessCounters& c) { return c.gdiObjects; }
double Threads(const ProcessCounters& c) { return c.threads; }
double PrivateKiB(const ProcessCounters& c) { return c.privateBytes / 1024.0; }
double CommitKiB(const ProcessCounters& c) { return c.pagefileBytes / 1024.0; }
double WorkingSetKiB(const ProcessCounters& c) { return c.workingSetBytes / 1024.0; }

const SoakCheckpoint* Find(const SoakResult& result, const char* name) {
    for (const SoakCheckpoint& c : result.checkpoints) {
        if (c.name == name) return &c;
    }
    return nullptr;
}

void PrintEvents(const SoakResult& result) {
    std::printf("  events sent: %u\n", result.eventsSent);
    for (std::size_t g = 0; g < result.perGroup.size(); ++g) {
        std::printf("    %-36s %6u\n", brenik::monitor::test::SoakGroupName(static_cast<brenik::monitor::test::SoakGroup>(g)), result.perGroup[g]);
    }
    std::printf("    %-36s %6u\n", "settings changed (1224, block edited)", result.settingsChanges);
    std::printf("    %-36s %6u\n", "batch markers (layer events)", result.markers);
    std::printf("  pacing: %u batches late, %u posts refused, %u text messages unanswered, %u keyboard actions refused,\n"
                "          slowest answer to 1327 %lu ms\n",
                result.lateBatches, result.refusedPosts, result.unansweredTexts, result.keyboardRefusals,
                static_cast<unsigned long>(result.slowestAnswerMs));
}

// Prints the table and says whether any judged counter grew from the half to the end.
bool PrintCounters(const SoakResult& result) {
    const SoakCheckpoint* points[] = {Find(result, "start"), Find(result, "half"), Find(result, "end"), Find(result, "idle")};
    for (const SoakCheckpoint* p : points) {
        if (p == nullptr) {
            std::printf("  the counters were not all read (the soak stopped early)\n");
            return false;
        }
    }
    ProcessCounters readings[4];
    for (int i = 0; i < 4; ++i) readings[i] = points[i]->counters;
    const CountersGiven given = brenik::monitor::test::CountersGivenIn(readings, 4);
    // Memory is judged by private bytes where the system gives them, else by the commit charge
    // (the same figure on Windows) and the working set.
    const bool privateGiven = given.privateBytes;
    Row rows[] = {
        {"handles", given.handles, Handles, kCountSlack, true},
        {"handles (system table)", given.tableHandles, TableHandles, kCountSlack, true},
        {"windows", given.windows, Windows, kCountSlack, true},
        {"USER objects", given.userObjects, UserObjects, kCountSlack, true},
        {"GDI objects", given.gdiObjects, GdiObjects, kCountSlack, true},
        {"threads", given.threads, Threads, kCountSlack, true},
        {"private bytes (KiB)", given.privateBytes, PrivateKiB, kMemorySlackKiB, privateGiven},
        {"commit charge (KiB)", given.pagefileBytes, CommitKiB, kMemorySlackKiB, !privateGiven},
        {"working set (KiB)", given.workingSet, WorkingSetKiB, kMemorySlackKiB, !privateGiven},
    };
    const double halfToEndEvents = points[2]->eventsDone - points[1]->eventsDone;
    std::printf("\n  %-22s %10s %10s %10s %10s   %s\n", "", "start", "half", "end", "after idle", "half to end, per 1,000 events");
    std::printf("  %-22s %10u %10u %10u %10u\n", "events", points[0]->eventsDone, points[1]->eventsDone,
                points[2]->eventsDone, points[3]->eventsDone);
    std::printf("  %-22s %10.0f %10.0f %10.0f %10.0f\n", "seconds", points[0]->seconds, points[1]->seconds,
                points[2]->seconds, points[3]->seconds);
    std::printf("  %-22s %10s", "keyboard reports", "");
    for (int i = 1; i < 4; ++i) {
        if (points[i]->keyboardReports < 0) {
            std::printf(" %10s", "?");
        } else {
            std::printf(" %10ld", points[i]->keyboardReports);
        }
    }
    std::printf("   since the column before (the trace keeps 20,000)\n");
    bool grew = false;
    for (const Row& row : rows) {
        std::printf("  %-22s", row.name);
        for (const SoakCheckpoint* p : points) std::printf(" %10.0f", row.value(p->counters));
        if (!row.given) {
            std::printf("   not given (0 in every reading)\n");
            continue;
        }
        const double growth = row.value(points[2]->counters) - row.value(points[1]->counters);
        const bool tooMuch = row.judged && growth > row.slack;
        grew |= tooMuch;
        std::printf("   %+9.1f%s%s\n", halfToEndEvents > 0 ? growth * 1000.0 / halfToEndEvents : 0.0,
                    row.judged ? "" : "  (shown, not judged)", tooMuch ? "  GREW" : "");
    }
    std::printf("  real figures: %s%s%s%s%s%s%s%s%s\n", given.handles ? "handles " : "",
                given.tableHandles ? "handle-table " : "", given.windows ? "windows " : "", given.userObjects ? "USER " : "",
                given.gdiObjects ? "GDI " : "", given.threads ? "threads " : "", given.privateBytes ? "private " : "",
                given.pagefileBytes ? "commit " : "", given.workingSet ? "working-set" : "");
    std::printf("  memory judged by: %s; a counter grows when it rises by more than %ld (memory %.0f KiB) from the half to the end\n",
                privateGiven ? "private bytes" : "the commit charge and the working set (private bytes not given)", kCountSlack, kMemorySlackKiB);
    return !grew;
}

}  // namespace

int main(int argc, char** argv) {
    unsigned long events = kDefaultEvents;
    unsigned long idleSeconds = kDefaultIdleSeconds;
    if (!Setting(argc, argv, 1, "BRENIK_SOAK_EVENTS", kMaxEvents, events) ||
        !Setting(argc, argv, 2, "BRENIK_SOAK_IDLE_SECONDS", kMaxIdleSeconds, idleSeconds)) {
        return 2;
    }
    const std::string build = brenik::ProgramFolder() + "..\\";
    brenik::monitor::test::SoakPrograms programs;
    programs.monitor = build + "monitor\\app\\Monitor.exe";
    programs.kbhid = build + "tools\\kbhid\\kbhid.dll";
    programs.tools = build + "tools\\";
    programs.wave = brenik::test::ToWindowsPath(BRENIK_SOAK_WAVE_DIR);
    brenik::monitor::test::SoakOptions options;
    options.events = static_cast<std::uint32_t>(events);
    options.idleMs = static_cast<DWORD>(idleSeconds * 1000);
    options.printProgress = true;

    std::printf("Monitor soak: %lu mixed events through the real monitor against the virtual keyboard, then %lu s idle\n",
                events, idleSeconds);
    std::fflush(stdout);
    const SoakResult result = brenik::monitor::test::RunMonitorSoak(programs, options);
    std::printf("  start-up to the end of the first synchronisation: %.1f s; sound cues %s\n", result.startSeconds,
                result.waveInstalled ? "with the Wave files installed" : "without Wave files (nothing to play)");
    PrintEvents(result);
    const bool flat = PrintCounters(result);
    const bool lived = result.failure.empty() && result.answeredAfterIdle && result.eventHandledAfterIdle && result.exitCode == 0;
    std::printf("\n  after the idle time: %s, %s; closed with exit code %ld\n",
                result.answeredAfterIdle ? "answered 1327" : "did NOT answer 1327",
                result.eventHandledAfterIdle ? "a lighting event still reached the settings program"
                                             : "a lighting event did NOT reach the settings program",
                result.exitCode);
    if (!result.failure.empty()) std::printf("  FAILED: %s\n", result.failure.c_str());
    std::printf("  result: %s\n", lived && flat ? "the monitor lived, answered, and held no more at the end than at the half"
                                                 : lived ? "a counter grew with the events" : "the monitor did not come through");
    return lived && flat ? 0 : 1;
}
