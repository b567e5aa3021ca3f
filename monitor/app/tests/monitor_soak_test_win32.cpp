// A short soak of the real Monitor.exe against the virtual keyboard (monitor_soak_win32.h):
// a few hundred mixed events and a short idle time, after which the monitor must still run,
// answer, handle an event and close cleanly. Its counters are the benchmark's business
// (soak_benchmark, scripts/soak.sh); this test only says the monitor came through.

#include "monitor_installation_win32.h"
#include "monitor_soak_win32.h"
#include "wine_test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace brenik::monitor {
namespace {

const brenik::test::MonitorPrograms g_monitor = brenik::test::MonitorProgramsFromArguments();
const test::SoakPrograms g_programs{g_monitor.monitor, g_monitor.kbhid, g_monitor.tools, brenik::test::ArgumentPath("wave")};

// Enough batches for every kind of event, keyboard action and change of the shared block to
// come round, in well under a minute.
constexpr std::uint32_t kEvents = 400;
constexpr DWORD kIdleMs = 3000;

TEST(MonitorSoak, LivesThroughMixedEventsAndStillAnswers) {
    test::SoakOptions options;
    options.events = kEvents;
    options.idleMs = kIdleMs;
    const test::SoakResult result = test::RunMonitorSoak(g_programs, options);

    EXPECT_EQ(result.failure, "");
    EXPECT_EQ(result.eventsSent, kEvents) << "the soak ran to its end";
    for (std::size_t g = 0; g < result.perGroup.size(); ++g) {
        EXPECT_GT(result.perGroup[g], 0u) << test::SoakGroupName(static_cast<test::SoakGroup>(g)) << " never came";
    }
    ASSERT_FALSE(result.checkpoints.empty());
    EXPECT_TRUE(result.checkpoints.back().counters.alive) << "alive after the idle time";
    EXPECT_TRUE(result.answeredAfterIdle) << "answers 1327 with 1";
    EXPECT_TRUE(result.eventHandledAfterIdle) << "a lighting event still reaches the settings program";
    EXPECT_EQ(result.exitCode, 0) << "closes cleanly on WM_CLOSE";
}

}  // namespace
}  // namespace brenik::monitor
