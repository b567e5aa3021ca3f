#pragma once
// The soak: the real Monitor.exe against the virtual keyboard, fed a long mixture of events
// (soak_event_mix.h), then left idle; its counters (process_counters_win32.h) are read at the
// start, after half the events, at the end and after the idle time, so that anything held per
// event shows as growth between the half and the end.
//
// Pacing: the events go out in batches. Each batch ends with a layer event carrying a marker
// key byte, whose notice to the settings program (1261, lParam the key byte) says the window
// has worked through the whole batch, then with a change in the shared block and 1224, whose
// answer (1256, sent after job 1) says the job thread has worked through every job the batch
// queued. So neither queue grows with the length of the run, and a monitor that falls behind
// shows as a late batch. Every batch also asks the window for an answer (1327, answered 1)
// with a time-out; no answer, or a process that ended, ends the soak as a failure.

#include "process_counters_win32.h"
#include "soak_event_mix.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace brenik::monitor::test {

struct SoakPrograms {
    std::string monitor;  // Monitor.exe
    std::string kbhid;    // kbhid.dll
    std::string tools;    // folder of vkbd.exe and vkbd-server.exe, with a trailing backslash
    std::string wave;     // the Wave tree to install so the sound cues play; "" or missing: none
};

struct SoakOptions {
    std::uint32_t events = 1000;
    DWORD idleMs = 10000;
    std::uint32_t batch = 50;
    bool printProgress = false;  // a line to standard output every tenth of the events
};

struct SoakCheckpoint {
    std::string name;
    std::uint32_t eventsDone = 0;
    double seconds = 0;  // since the first event
    ProcessCounters counters;
    // Reports the keyboard took or answered since the checkpoint before (its trace keeps the
    // last 20,000 lines; -1 when it could not be read).
    long keyboardReports = -1;
};

struct SoakResult {
    std::string failure;  // empty when the monitor lived and answered throughout
    bool waveInstalled = false;
    double startSeconds = 0;  // from starting the process to the first synchronisation's end
    std::vector<SoakCheckpoint> checkpoints;
    std::array<std::uint32_t, static_cast<std::size_t>(SoakGroup::kCount)> perGroup{};
    std::uint32_t eventsSent = 0;
    std::uint32_t settingsChanges = 0;   // 1224 after an edit of the shared block, one per batch
    std::uint32_t markers = 0;           // the layer events that end each batch
    std::uint32_t lateBatches = 0;       // batches the monitor had not worked through in time
    std::uint32_t refusedPosts = 0;      // PostMessage failed (the window's queue was full)
    std::uint32_t unansweredTexts = 0;   // WM_COPYDATA sends that timed out
    std::uint32_t keyboardRefusals = 0;  // vkbd commands that did not succeed
    DWORD slowestAnswerMs = 0;           // the longest wait for an answer to 1327
    // The last checks, after the idle time: the window answers 1327 with 1, a lighting event
    // still reaches the settings program, and WM_CLOSE ends the process with exit code 0.
    bool answeredAfterIdle = false;
    bool eventHandledAfterIdle = false;
    long exitCode = -1;
};

SoakResult RunMonitorSoak(const SoakPrograms& programs, const SoakOptions& options);

}  // namespace brenik::monitor::test
