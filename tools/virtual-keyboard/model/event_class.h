#pragma once
// The event classes the keyboard reports for keys the user presses on it.

#include <cstdint>

namespace brenik::vkb::event_class {

constexpr std::uint16_t kProfileKey = 0x3000;      // key byte: profile number 1 to 5
constexpr std::uint16_t kMacroKeyPlayed = 0x4000;  // sub-code: macro key number 1 to 44
constexpr std::uint16_t kMacroRecording = 0x5000;  // qualifier: recording step, key byte: key number
constexpr std::uint16_t kLaunchKey = 0x6000;       // key byte: key number 1 to 44, qualifier 0
constexpr std::uint16_t kMediaKey = 0x7000;        // key byte: media key code, qualifier: flag
constexpr std::uint16_t kVolume = 0xA000;          // sub-code: volume 0 to 100
constexpr std::uint16_t kCountdownStep = 0xB000;   // qualifier: countdown step
constexpr std::uint16_t kCountdownStop = 0xC000;   // qualifier 1: countdown stopped
constexpr std::uint16_t kLightingControl = 0xD000; // key byte: lighting control value
constexpr std::uint16_t kLayerSwitch = 0xE000;     // key byte: 1 extended layer, 255 standard
constexpr std::uint16_t kWindowsKeyLock = 0xF000;  // qualifier: profile 1 to 5, key byte 1 or 255

}  // namespace brenik::vkb::event_class

namespace brenik::vkb {

// Steps of live macro recording, the qualifier of kMacroRecording.
enum class RecordingStep : std::uint8_t {
    kSelectKey = 1,       // the user started recording and is asked for a key
    kEnterKeys = 2,       // key chosen; the user types the macro
    kRecorded = 3,        // stored on the key: the host reads it back
    kAborted = 4,
    kKeyNotAvailable = 5,
    kMemoryFull = 6,
};

// Key byte of kLayerSwitch and of kWindowsKeyLock.
constexpr std::uint8_t kLayerExtended = 1;
constexpr std::uint8_t kLayerStandard = 255;
constexpr std::uint8_t kWindowsKeyUnlocked = 1;
constexpr std::uint8_t kWindowsKeyLocked = 255;

}  // namespace brenik::vkb
