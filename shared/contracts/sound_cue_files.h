#pragma once
// The sound cues' files, relative to the program folder, as they are installed in the Wave
// folder (spelling and case included: the installer ships these names, the monitor plays them on the
// keyboard's events and the settings program plays them for the user to hear).

namespace brenik {

// Profile 1..5 became current, by index 0..4.
constexpr const char* kCueProfile[] = {
    "Wave\\Profile\\profile_one.wav",   "Wave\\Profile\\profile_two.wav",  "Wave\\Profile\\profile_three.wav",
    "Wave\\Profile\\profile_four.wav",  "Wave\\Profile\\profile_five.wav",
};
// Live macro recording, steps 1..6 by index 0..5.
constexpr const char* kCueMacroRecord[] = {
    "Wave\\MacroLiveRecord\\1_driver_select_macro_key.wav",
    "Wave\\MacroLiveRecord\\2_driver_enter_macro_key_and_press.wav",
    "Wave\\MacroLiveRecord\\3_driver_macro_recorded_successfuly.wav",
    "Wave\\MacroLiveRecord\\4_driver_macro_recording_aborted.wav",
    "Wave\\MacroLiveRecord\\5_driver_key_not_available.wav",
    "Wave\\MacroLiveRecord\\6_driver_Macro_full_recorded.wav",
};
// The countdown timer, steps 1..8 by index 0..7, and its stop.
constexpr const char* kCueCountdown[] = {
    "Wave\\Timer\\timer_activated.wav", "Wave\\Timer\\10_second.wav", "Wave\\Timer\\5_second.wav",
    "Wave\\Timer\\4_second.wav",        "Wave\\Timer\\3_second.wav",  "Wave\\Timer\\2_second.wav",
    "Wave\\Timer\\1_second.wav",        "Wave\\Timer\\go.wav",
};
constexpr const char* kCueCountdownStopped = "Wave\\Timer\\timer_stopped.wav";
constexpr const char* kCueExtendedLayer = "Wave\\ExtendedLayer\\Extended_layer.wav";
constexpr const char* kCueStandardLayer = "Wave\\ExtendedLayer\\Standard_Layer.wav";

}  // namespace brenik
