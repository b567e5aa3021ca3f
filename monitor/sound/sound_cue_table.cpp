#include "sound_cue_table.h"

#include "event_word.h"

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

// The file names are the ones installed under Wave\, spelling and case included.
const SoundCueRow kSoundCues[kSoundCueCount] = {
    {kClassProfile, kWhole, 1, kProfile, "Wave\\Profile\\profile_one.wav"},
    {kClassProfile, kWhole, 2, kProfile, "Wave\\Profile\\profile_two.wav"},
    {kClassProfile, kWhole, 3, kProfile, "Wave\\Profile\\profile_three.wav"},
    {kClassProfile, kWhole, 4, kProfile, "Wave\\Profile\\profile_four.wav"},
    {kClassProfile, kWhole, 5, kProfile, "Wave\\Profile\\profile_five.wav"},
    {kClassMacroRecord, kQualifier, 1, kMacro, "Wave\\MacroLiveRecord\\1_driver_select_macro_key.wav"},
    {kClassMacroRecord, kQualifier, 2, kMacro, "Wave\\MacroLiveRecord\\2_driver_enter_macro_key_and_press.wav"},
    {kClassMacroRecord, kQualifier, 3, kMacro, "Wave\\MacroLiveRecord\\3_driver_macro_recorded_successfuly.wav"},
    {kClassMacroRecord, kQualifier, 4, kMacro, "Wave\\MacroLiveRecord\\4_driver_macro_recording_aborted.wav"},
    {kClassMacroRecord, kQualifier, 5, kMacro, "Wave\\MacroLiveRecord\\5_driver_key_not_available.wav"},
    {kClassMacroRecord, kQualifier, 6, kMacro, "Wave\\MacroLiveRecord\\6_driver_Macro_full_recorded.wav"},
    {kClassCountdownStep, kQualifier, 1, kCountdown, "Wave\\Timer\\timer_activated.wav"},
    {kClassCountdownStep, kQualifier, 2, kCountdown, "Wave\\Timer\\10_second.wav"},
    {kClassCountdownStep, kQualifier, 3, kCountdown, "Wave\\Timer\\5_second.wav"},
    {kClassCountdownStep, kQualifier, 4, kCountdown, "Wave\\Timer\\4_second.wav"},
    {kClassCountdownStep, kQualifier, 5, kCountdown, "Wave\\Timer\\3_second.wav"},
    {kClassCountdownStep, kQualifier, 6, kCountdown, "Wave\\Timer\\2_second.wav"},
    {kClassCountdownStep, kQualifier, 7, kCountdown, "Wave\\Timer\\1_second.wav"},
    {kClassCountdownStep, kQualifier, 8, kCountdown, "Wave\\Timer\\go.wav"},
    {kClassCountdownStop, kQualifier, 1, kCountdown, "Wave\\Timer\\timer_stopped.wav"},
    {kClassLayer, kWhole, 1, kLayer, "Wave\\ExtendedLayer\\Extended_layer.wav"},
    {kClassLayer, kWhole, 255, kLayer, "Wave\\ExtendedLayer\\Standard_Layer.wav"},
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
