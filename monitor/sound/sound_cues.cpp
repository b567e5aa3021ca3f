#include "sound_cues.h"

#include "sound_cue_table.h"

#include <utility>

namespace brenik::monitor::sound {

SoundCues::SoundCues(WorkingCopy& state, std::string programFolder, ISoundPlayer& player)
    : state_(state), programFolder_(std::move(programFolder)), player_(player) {}

void SoundCues::Play(std::uint16_t eventClass, std::uint16_t subCode) {
    // The lock is held for the choice only, not while the sound starts.
    const char* file = state_.Use([&](const StateRecord& state) -> const char* {
        const ProfileRecord* profile = CurrentProfileRecord(state);
        return profile ? ChooseSoundCue(eventClass, subCode, SoundSwitchesOf(*profile)) : nullptr;
    });
    if (file != nullptr) player_.PlayFile(programFolder_ + file);
}

}  // namespace brenik::monitor::sound
