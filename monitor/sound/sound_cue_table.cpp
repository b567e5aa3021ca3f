#include "sound_cue_table.h"

#include "event_word.h"
#include "sound_cue_files.h"

namespace brenik::monitor::sound {
namespace {

constexpr CueSelector kWhole = CueSelector::kWholeSubCode;
constexpr CueSelector kQualifier = CueSelector::kQualifier;

constexpr std::int32_t SoundSwitches::*kProfile = &SoundSwitches::ProfileSwitchSound;
constexpr std::int32_t SoundSwitches::*kMacro = &SoundSwitches::MacroLiveRecordSound;
constexpr std::int32_t SoundSwitches::*kCountdown = &SoundSwitches::CountdownTimerSound;
constexpr std::int32_t SoundSwitches::*kLayer = &SoundSwitches::LayerSwitchSound;

std::uint16_t SelectedPart(CueSelector selector, std::uint16_t subCode) {
    return selector == kQualifier ? static_cast<std::uint16_t>(subCode >> 8) : subCode;
}

}  // namespace

// The files are the installed ones (sound_cue_files.h).
const SoundCueRow kSoundCues[kSoundCueCount] = {
    {kClassProfile, kWhole, 1, kProfile, kCueProfile[0]},
    {kClassProfile, kWhole, 2, kProfile, kCueProfile[1]},
    {kClassProfile, kWhole, 3, kProfile, kCueProfile[2]},
    {kClassProfile, kWhole, 4, kProfile, kCueProfile[3]},
    {kClassProfile, kWhole, 5, kProfile, kCueProfile[4]},
    {kClassMacroRecord, kQualifier, 1, kMacro, kCueMacroRecord[0]},
    {kClassMacroRecord, kQualifier, 2, kMacro, kCueMacroRecord[1]},
    {kClassMacroRecord, kQualifier, 3, kMacro, kCueMacroRecord[2]},
    {kClassMacroRecord, kQualifier, 4, kMacro, kCueMacroRecord[3]},
    {kClassMacroRecord, kQualifier, 5, kMacro, kCueMacroRecord[4]},
    {kClassMacroRecord, kQualifier, 6, kMacro, kCueMacroRecord[5]},
    {kClassCountdownStep, kQualifier, 1, kCountdown, kCueCountdown[0]},
    {kClassCountdownStep, kQualifier, 2, kCountdown, kCueCountdown[1]},
    {kClassCountdownStep, kQualifier, 3, kCountdown, kCueCountdown[2]},
    {kClassCountdownStep, kQualifier, 4, kCountdown, kCueCountdown[3]},
    {kClassCountdownStep, kQualifier, 5, kCountdown, kCueCountdown[4]},
    {kClassCountdownStep, kQualifier, 6, kCountdown, kCueCountdown[5]},
    {kClassCountdownStep, kQualifier, 7, kCountdown, kCueCountdown[6]},
    {kClassCountdownStep, kQualifier, 8, kCountdown, kCueCountdown[7]},
    {kClassCountdownStop, kQualifier, 1, kCountdown, kCueCountdownStopped},
    {kClassLayer, kWhole, 1, kLayer, kCueExtendedLayer},
    {kClassLayer, kWhole, 255, kLayer, kCueStandardLayer},
};

SoundSwitches SoundSwitchesOf(const ProfileRecord& profile) {
    return {profile.ProfileSwitchSound, profile.MacroLiveRecordSound, profile.CountdownTimerSound,
            profile.LayerSwitchSound};
}

const char* ChooseSoundCue(std::uint16_t eventClass, std::uint16_t subCode, const SoundSwitches& switches) {
    for (const SoundCueRow& row : kSoundCues) {
        if (row.eventClass != eventClass || row.value != SelectedPart(row.selector, subCode)) continue;
        return switches.*row.switchOn == kSoundSwitchOn ? row.file : nullptr;
    }
    return nullptr;
}

}  // namespace brenik::monitor::sound
