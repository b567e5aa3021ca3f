#pragma once
// SoundCues: the spoken cue that confirms what the keyboard did, chosen from the event and
// the current profile's switches, and played from the WAV files under "Wave\".

#include "working_copy.h"

#include <cstdint>
#include <string>

namespace brenik {

class SoundCues {
public:
    SoundCues(WorkingCopy& state, std::string programFolder);

    // After an event's own action: event class and its 16-bit sub-code.
    void Play(std::uint16_t eventClass, std::uint16_t subCode);

private:
    WorkingCopy& state_;
    const std::string programFolder_;
};

}  // namespace brenik
