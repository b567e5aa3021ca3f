#pragma once
// SoundCues: the spoken cue that confirms what the keyboard did, chosen from the event and
// the current profile's switches (sound_cue_table.h), and played from the WAV files under
// "Wave\" in the program folder. Runs on the window thread, after the event's own action, so
// for a profile key the switch of the profile just selected decides.

#include "sound_player.h"
#include "working_copy.h"

#include <cstdint>
#include <string>

namespace brenik::monitor::sound {

class SoundCues {
public:
    // programFolder ends in a backslash; the player outlives this object.
    SoundCues(WorkingCopy& state, std::string programFolder, ISoundPlayer& player);

    // After an event's own action: event class and its 16-bit sub-code. Plays nothing when
    // there is no current profile.
    void Play(std::uint16_t eventClass, std::uint16_t subCode);

private:
    WorkingCopy& state_;
    const std::string programFolder_;
    ISoundPlayer& player_;
};

}  // namespace brenik::monitor::sound
