#include "apply_progress.h"

namespace brenik::option {
namespace {

// The statuses an apply can stop at before 1224 went out.
bool IsFailure(ApplyStatus status) {
    return status == ApplyStatus::kNoMonitor || status == ApplyStatus::kBlockUnavailable ||
           status == ApplyStatus::kNotAnnounced || status == ApplyStatus::kSaveFailed;
}

}  // namespace

void ApplyProgress::Started(std::uint64_t nowMs, bool keyboardAttached) {
    status_ = ApplyStatus::kSending;
    startedMs_ = nowMs;
    keyboardAttached_ = keyboardAttached;
}

void ApplyProgress::Answered(bool heldAll) {
    // An answer after the time ran out is still the monitor's answer to this apply.
    if (status_ != ApplyStatus::kSending && status_ != ApplyStatus::kNoAnswer) return;
    if (!heldAll) status_ = ApplyStatus::kNotAllHeld;
    else status_ = keyboardAttached_ ? ApplyStatus::kSavedOnKeyboard : ApplyStatus::kSavedNotConnected;
}

bool ApplyProgress::Tick(std::uint64_t nowMs) {
    if (status_ != ApplyStatus::kSending) return false;
    if (nowMs < startedMs_ || nowMs - startedMs_ < kAnswerTimeoutMs) return false;
    status_ = ApplyStatus::kNoAnswer;
    return true;
}

void ApplyProgress::Failed(ApplyStatus why) {
    // Only a reason to stop is taken; a progress status here would be a caller's mistake.
    if (IsFailure(why)) status_ = why;
}

void ApplyProgress::NothingToApply() {
    // The buttons are grey while sending; the apply under way keeps its status.
    if (status_ != ApplyStatus::kSending) status_ = ApplyStatus::kNothingToApply;
}

}  // namespace brenik::option
