#include "sound_cues.h"

#include <utility>

namespace brenik {

SoundCues::SoundCues(WorkingCopy& state, std::string programFolder)
    : state_(state), programFolder_(std::move(programFolder)) {}

// The cues arrive with their sound files.
void SoundCues::Play(std::uint16_t, std::uint16_t) {}

}  // namespace brenik
