#include "abortable_sleep.h"

#include <gtest/gtest.h>

#include <vector>

namespace brenik {
namespace {

class RecordingClock : public ISleepClock {
public:
    void SleepMs(unsigned milliseconds) override { sleeps.push_back(milliseconds); }
    std::vector<unsigned> sleeps;
};

TEST(SleepAbortable, SleepsWholeSlicesAndNotTheRemainder) {
    struct Row { unsigned asked; std::size_t slices; };
    for (const Row row : {Row{0, 0}, Row{50, 0}, Row{99, 0}, Row{100, 1}, Row{250, 2}, Row{2000, 20}}) {
        RecordingClock clock;
        EXPECT_TRUE(SleepAbortable(clock, row.asked, {})) << row.asked;
        EXPECT_EQ(clock.sleeps, std::vector<unsigned>(row.slices, kSleepSliceMs)) << row.asked;
    }
}

TEST(SleepAbortable, StopsAtTheSliceAfterTheRequest) {
    RecordingClock clock;
    int asked = 0;
    // The request arrives while the third slice is being slept.
    EXPECT_FALSE(SleepAbortable(clock, 1000, [&] { return ++asked > 3; }));
    EXPECT_EQ(clock.sleeps.size(), 3u);
}

TEST(SleepAbortable, ARequestDuringTheLastSliceIsStillReported) {
    RecordingClock clock;
    bool stop = false;
    struct StoppingClock : ISleepClock {
        bool& stop;
        explicit StoppingClock(bool& s) : stop(s) {}
        void SleepMs(unsigned) override { stop = true; }
    } stopping(stop);
    EXPECT_FALSE(SleepAbortable(stopping, 100, [&] { return stop; }));
    // An abort already set before a zero wait is reported too, without sleeping.
    EXPECT_FALSE(SleepAbortable(clock, 0, [] { return true; }));
    EXPECT_TRUE(clock.sleeps.empty());
}

}  // namespace
}  // namespace brenik
