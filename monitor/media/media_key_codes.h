#pragma once
// The numbers of the media keys: the key bytes the keyboard sends (event class 0x7000), the
// system's media virtual keys, the keys the players are sent and their scan codes, and the
// window messages that carry them. Each value is named once, here.

#include <cstdint>

namespace brenik::monitor::media {

// Key bytes of a media-key event (the qualifier must be 0).
constexpr std::uint8_t kKeyStartPlayer = 0x20;
constexpr std::uint8_t kKeyNext = 0x21;
constexpr std::uint8_t kKeyPrevious = 0x22;
constexpr std::uint8_t kKeyPlayPause = 0x23;
constexpr std::uint8_t kKeyStop = 0x24;
constexpr std::uint8_t kKeyMute = 0x25;
constexpr std::uint8_t kKeyVolumeUp = 0x26;
constexpr std::uint8_t kKeyVolumeDown = 0x27;

// The system-wide media keys synthesised for key bytes 0x21..0x27.
constexpr std::uint8_t kVkVolumeMute = 173;
constexpr std::uint8_t kVkVolumeDown = 174;
constexpr std::uint8_t kVkVolumeUp = 175;
constexpr std::uint8_t kVkMediaNextTrack = 176;
constexpr std::uint8_t kVkMediaPrevTrack = 177;
constexpr std::uint8_t kVkMediaStop = 178;
constexpr std::uint8_t kVkMediaPlayPause = 179;

// Keys sent to player windows.
constexpr std::uint8_t kVkControl = 0x11;
constexpr std::uint8_t kVkSpace = 0x20;
constexpr std::uint8_t kVkLeft = 0x25;
constexpr std::uint8_t kVkRight = 0x27;
constexpr std::uint8_t kVkN = 0x4E;
constexpr std::uint8_t kVkP = 0x50;
constexpr std::uint8_t kVkS = 0x53;

// Their scan codes, as the keystroke messages carry them.
constexpr std::uint8_t kScanControl = 0x1D;
constexpr std::uint8_t kScanSpace = 0x39;
constexpr std::uint8_t kScanLeft = 0x4B;
constexpr std::uint8_t kScanRight = 0x4D;
constexpr std::uint8_t kScanN = 0x31;
constexpr std::uint8_t kScanP = 0x19;
constexpr std::uint8_t kScanS = 0x1F;

// Window messages sent or posted to players.
constexpr unsigned kWmKeyDown = 0x0100;
constexpr unsigned kWmKeyUp = 0x0101;
constexpr unsigned kWmCommand = 0x0111;

// Winamp's command ids (WM_COMMAND wParam).
constexpr unsigned kWinampPrevious = 40044;
constexpr unsigned kWinampPlay = 40045;
constexpr unsigned kWinampPause = 40046;
constexpr unsigned kWinampStop = 40047;
constexpr unsigned kWinampNext = 40048;

// The pause between the keystrokes sent to a player.
constexpr unsigned kKeystrokePauseMs = 100;

}  // namespace brenik::monitor::media
