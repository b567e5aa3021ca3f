#pragma once
// The faults a test has asked the keyboard to show. Each counts down as it is used;
// a negative count never runs out.

#include <cstddef>
#include <cstdint>
#include <vector>

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

// Byte offset of a reply that the keyboard sends with value instead, for uses replies.
struct ReplyPatch {
    std::uint8_t reportId = 0;
    std::size_t offset = 0;
    std::uint8_t value = 0;
    FaultCounter uses;
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
    std::vector<ReplyPatch> replyPatches;
};

// Applies the patches for this reply (byte 0 its id, as long as its report) and drops those
// used up; true if one changed it.
bool ApplyReplyPatches(FaultPlan& faults, std::uint8_t* reply);

}  // namespace brenik::vkb
