#pragma once
// Which WAV file confirms which keyboard event. One row per file: the event class, the part of
// the sub-code that picks the row (the whole 16-bit sub-code, or only its high byte, the
// qualifier, where the low byte carries a key number), the value it must have, the profile
// switch that must be on, and the file's path relative to the program folder.
//
//   0x3000 profile key       whole sub-code 1..5   ProfileSwitchSound    Wave\Profile\...
//   0x5000 live macro step   qualifier 1..6        MacroLiveRecordSound  Wave\MacroLiveRecord\...
//   0xB000 countdown step    qualifier 1..8        CountdownTimerSound   Wave\Timer\...
//   0xC000 countdown stop    qualifier 1           CountdownTimerSound   Wave\Timer\timer_stopped.wav
//   0xE000 layer             whole sub-code 1, 255 LayerSwitchSound      Wave\ExtendedLayer\...
//
// A switch is on only when it holds exactly 1; -1 (the key missing from the profile file) and
// every other value are off. Platform-neutral: choosing is pure, playing is ISoundPlayer's.

#include "profile_record.h"

#include <cstddef>
#include <cstdint>

namespace brenik::monitor::sound {

// The current profile's four cue switches, as the profile record holds them.
struct SoundSwitches {
    std::int32_t ProfileSwitchSound;
    std::int32_t MacroLiveRecordSound;
    std::int32_t CountdownTimerSound;
    std::int32_t LayerSwitchSound;
};

SoundSwitches SoundSwitchesOf(const ProfileRecord& profile);

// The part of the sub-code a row is chosen by.
enum class CueSelector { kWholeSubCode, kQualifier };

struct SoundCueRow {
    std::uint16_t eventClass;
    CueSelector selector;
    std::uint16_t value;
    std::int32_t SoundSwitches::*switchOn;
    const char* file;  // relative to the program folder, which ends in a backslash
};

constexpr std::size_t kSoundCueCount = 22;
extern const SoundCueRow kSoundCues[kSoundCueCount];

// The switch value that turns a cue on.
constexpr std::int32_t kSoundSwitchOn = 1;

// The file to play for an event, relative to the program folder, or nullptr when the class has
// no cues, the sub-code has no file, or the row's switch is not on.
const char* ChooseSoundCue(std::uint16_t eventClass, std::uint16_t subCode, const SoundSwitches& switches);

}  // namespace brenik::monitor::sound
