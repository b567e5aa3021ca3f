#pragma once
// The faults a test has asked the keyboard to show. Each counts down as it is used;
// a negative count never runs out.

#include <cstdint>

namespace brenik::vkb {

class FaultCounter {
public:
    void Set(int count) { left_ = count; }
    // True if the fault applies to this occasion; uses it up.
    bool Take();
    bool Armed() const { return left_ != 0; }
    int Left() const { return left_; }

private:
    int left_ = 0;
};

struct FaultPlan {
    int busyAnswers = 0;            // per command; negative: busy forever
    FaultCounter failCommands;
    std::uint8_t failStatus = 2;
    FaultCounter refuseSends;
    FaultCounter refuseReads;
    FaultCounter corruptMacroReplies;
    FaultCounter resendUpdateCommands;
    int unplugAfterReports = 0;     // 0: off; otherwise reports left before the keyboard unplugs
};

}  // namespace brenik::vkb
