#include "command_status.h"

namespace brenik::vkb {

void CommandStatus::Complete(std::uint8_t result, int busyAnswers) {
    result_ = result;
    busyLeft_ = busyAnswers;
}

std::uint8_t CommandStatus::Poll() {
    if (busyLeft_ < 0) return kStatusBusy;
    if (busyLeft_ > 0) {
        --busyLeft_;
        return kStatusBusy;
    }
    return result_;
}

void CommandStatus::Reset() {
    result_ = kStatusDone;
    busyLeft_ = 0;
}

}  // namespace brenik::vkb
