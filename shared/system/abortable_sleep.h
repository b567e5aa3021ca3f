#pragma once
// The one abortable wait of both keyboard protocols. A job or a transfer that is told to stop
// (the keyboard was removed, the program is closing) must not sit out a two-second pause
// first, so every wait is cut into slices of 100 ms and the stop request is looked at before
// each of them. Time comes from an ISleepClock, so tests run whole exchanges in virtual time.

#include <functional>

namespace brenik {

class ISleepClock {
public:
    virtual ~ISleepClock() = default;
    virtual void SleepMs(unsigned milliseconds) = 0;
};

constexpr unsigned kSleepSliceMs = 100;

// Sleeps ms / 100 whole slices of 100 ms; a remainder under one slice is not slept, so a
// 50 ms pause returns at once (every wait of both protocols is a multiple of 100 ms, and the
// monitor's pause between keys is meant to cost nothing). Before each slice, and once more at
// the end, `aborted` is asked (an empty function never aborts). Returns false as soon as it
// says yes, true when the whole time was slept.
bool SleepAbortable(ISleepClock& clock, unsigned milliseconds, const std::function<bool()>& aborted);

}  // namespace brenik
