#include "fault_plan.h"

#include <algorithm>

namespace brenik::vkb {

bool FaultCounter::Take() {
    if (left_ == 0) return false;
    if (left_ > 0) --left_;
    return true;
}

bool ApplyReplyPatches(FaultPlan& faults, std::uint8_t* reply) {
    bool patched = false;
    for (ReplyPatch& patch : faults.replyPatches) {
        if (patch.reportId != reply[0] || !patch.uses.Take()) continue;
        reply[patch.offset] = patch.value;
        patched = true;
    }
    auto usedUp = [](const ReplyPatch& patch) { return !patch.uses.Armed(); };
    faults.replyPatches.erase(std::remove_if(faults.replyPatches.begin(), faults.replyPatches.end(), usedUp),
                              faults.replyPatches.end());
    return patched;
}

}  // namespace brenik::vkb
