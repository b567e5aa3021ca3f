#include "apply_progress.h"

#include <gtest/gtest.h>

#include <functional>

namespace brenik::option {
namespace {

constexpr std::uint64_t kStart = 5000;

struct Row {
    const char* what;
    std::function<void(ApplyProgress&)> steps;
    ApplyStatus status;
};

TEST(ApplyProgress, EachWayAnApplyEndsGivesItsStatusAndButtonsAreGreyOnlyWhileSending) {
    const Row rows[] = {
        {"never started", [](ApplyProgress&) {}, ApplyStatus::kIdle},
        {"sent, waiting", [](ApplyProgress& p) { p.Started(kStart, true); }, ApplyStatus::kSending},
        {"answer, keyboard attached",
         [](ApplyProgress& p) {
             p.Started(kStart, true);
             p.Answered(true);
         },
         ApplyStatus::kSavedOnKeyboard},
        {"answer, no keyboard",
         [](ApplyProgress& p) {
             p.Started(kStart, false);
             p.Answered(true);
         },
         ApplyStatus::kSavedNotConnected},
        {"answer, the block lost part of it",
         [](ApplyProgress& p) {
             p.Started(kStart, true);
             p.Answered(false);
         },
         ApplyStatus::kNotAllHeld},
        {"one millisecond before the time runs out",
         [](ApplyProgress& p) {
             p.Started(kStart, true);
             EXPECT_FALSE(p.Tick(kStart + kAnswerTimeoutMs - 1));
         },
         ApplyStatus::kSending},
        {"the time runs out exactly",
         [](ApplyProgress& p) {
             p.Started(kStart, true);
             EXPECT_TRUE(p.Tick(kStart + kAnswerTimeoutMs));
             EXPECT_FALSE(p.Tick(kStart + kAnswerTimeoutMs + 1000)) << "said once";
         },
         ApplyStatus::kNoAnswer},
        {"an answer after the time ran out is the answer",
         [](ApplyProgress& p) {
             p.Started(kStart, false);
             p.Tick(kStart + 2 * kAnswerTimeoutMs);
             p.Answered(true);
         },
         ApplyStatus::kSavedNotConnected},
        {"a clock before the start does not end the wait",
         [](ApplyProgress& p) {
             p.Started(kStart, true);
             EXPECT_FALSE(p.Tick(0));
         },
         ApplyStatus::kSending},
        {"a tick after the answer changes nothing",
         [](ApplyProgress& p) {
             p.Started(kStart, true);
             p.Answered(true);
             EXPECT_FALSE(p.Tick(kStart + kAnswerTimeoutMs));
         },
         ApplyStatus::kSavedOnKeyboard},
        {"an answer nobody waits for is ignored",
         [](ApplyProgress& p) { p.Answered(true); }, ApplyStatus::kIdle},
        {"a second answer after a saved one is ignored",
         [](ApplyProgress& p) {
             p.Started(kStart, true);
             p.Answered(true);
             p.Answered(false);
         },
         ApplyStatus::kSavedOnKeyboard},
        {"nothing to apply", [](ApplyProgress& p) { p.NothingToApply(); }, ApplyStatus::kNothingToApply},
        {"nothing to apply does not end a send",
         [](ApplyProgress& p) {
             p.Started(kStart, true);
             p.NothingToApply();
         },
         ApplyStatus::kSending},
        {"a new apply after a timeout waits again",
         [](ApplyProgress& p) {
             p.Started(kStart, true);
             p.Tick(kStart + kAnswerTimeoutMs);
             p.Started(kStart + kAnswerTimeoutMs + 10, false);
             EXPECT_FALSE(p.Tick(kStart + kAnswerTimeoutMs + 20));
         },
         ApplyStatus::kSending},
        {"no monitor", [](ApplyProgress& p) { p.Failed(ApplyStatus::kNoMonitor); }, ApplyStatus::kNoMonitor},
        {"no block", [](ApplyProgress& p) { p.Failed(ApplyStatus::kBlockUnavailable); }, ApplyStatus::kBlockUnavailable},
        {"not announced", [](ApplyProgress& p) { p.Failed(ApplyStatus::kNotAnnounced); }, ApplyStatus::kNotAnnounced},
        {"config.ini not written", [](ApplyProgress& p) { p.Failed(ApplyStatus::kSaveFailed); }, ApplyStatus::kSaveFailed},
        {"a progress status is no reason to stop",
         [](ApplyProgress& p) {
             p.Failed(ApplyStatus::kNoMonitor);
             p.Failed(ApplyStatus::kSavedOnKeyboard);
         },
         ApplyStatus::kNoMonitor},
    };
    for (const Row& row : rows) {
        ApplyProgress progress;
        row.steps(progress);
        EXPECT_EQ(progress.Status(), row.status) << row.what;
        EXPECT_EQ(progress.ButtonsEnabled(), row.status != ApplyStatus::kSending) << row.what;
    }
}

}  // namespace
}  // namespace brenik::option
