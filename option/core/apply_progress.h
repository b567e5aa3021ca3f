#pragma once
// Where an Apply stands, for the status line and the OK and Apply buttons. The monitor answers
// every 1224 with 1256: after job 1 sent the change to the keyboard, or at once when the
// keyboard is not attached. While no answer has come the buttons stay greyed; an answer that
// does not come within kAnswerTimeoutMs is said plainly and the buttons come back, since the
// monitor may have gone or hang. Time is given from outside (milliseconds of a steady clock).

#include <cstdint>

namespace brenik::option {

// Job 1 sends at most a profile's reports and its key entries; a synchronisation queued before
// it may take a read-back first. Both together stay well inside this.
constexpr std::uint32_t kAnswerTimeoutMs = 60000;

enum class ApplyStatus {
    kIdle,                // nothing applied yet
    kNothingToApply,      // Apply with no edit
    kSending,             // written, 1224 posted, waiting for 1256
    kSavedOnKeyboard,     // 1256 with the keyboard attached
    kSavedNotConnected,   // 1256 with no keyboard: the monitor keeps it for the next arrival
    kNotAllHeld,          // 1256, but the block lost part of the change (SettingsModel::Answered)
    kNoAnswer,            // no 1256 within kAnswerTimeoutMs
    kNoMonitor,           // no monitor window: nothing written
    kBlockUnavailable,    // no block, a block of the wrong size, or its lock not had in time
    kNotAnnounced,        // written, but 1224 could not be posted
    kSaveFailed,          // config.ini could not be written
};

class ApplyProgress {
public:
    void Started(std::uint64_t nowMs, bool keyboardAttached);
    // 1256; heldAll: whether the block held every applied item afterwards.
    void Answered(bool heldAll);
    // Called from a timer while sending; true when the status changed (time ran out).
    bool Tick(std::uint64_t nowMs);
    void Failed(ApplyStatus why);  // the apply stopped before anything was announced
    void NothingToApply();

    ApplyStatus Status() const { return status_; }
    bool ButtonsEnabled() const { return status_ != ApplyStatus::kSending; }

private:
    ApplyStatus status_ = ApplyStatus::kIdle;
    std::uint64_t startedMs_ = 0;
    bool keyboardAttached_ = false;
};

}  // namespace brenik::option
