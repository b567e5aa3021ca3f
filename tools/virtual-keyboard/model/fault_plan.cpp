#include "fault_plan.h"

namespace brenik::vkb {

bool FaultCounter::Take() {
    if (left_ == 0) return false;
    if (left_ > 0) --left_;
    return true;
}

}  // namespace brenik::vkb
