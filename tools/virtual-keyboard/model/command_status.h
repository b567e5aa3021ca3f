#pragma once
// The status register the host polls after each command: it answers busy (3) a set number
// of times after a command, then the command's result (1 done, anything else failed).

#include <cstdint>

namespace brenik::vkb {

constexpr std::uint8_t kStatusDone = 1;
constexpr std::uint8_t kStatusBusy = 3;
// What the keyboard answers for a command it could not carry out.
constexpr std::uint8_t kStatusFailed = 2;

class CommandStatus {
public:
    // A command has been carried out (or refused) with this result.
    void Complete(std::uint8_t result, int busyAnswers);
    // One poll: busy while busy answers remain (always, for a negative count), else the result.
    std::uint8_t Poll();
    std::uint8_t Result() const { return result_; }
    int BusyLeft() const { return busyLeft_; }
    void Reset();

private:
    std::uint8_t result_ = kStatusDone;  // a keyboard that has done nothing is idle: done
    int busyLeft_ = 0;                   // negative: busy forever
};

}  // namespace brenik::vkb
