#pragma once
// The lParam of a WM_KEYDOWN or WM_KEYUP sent to a player, as a real keystroke would carry it:
//   bits 0..15   repeat count, always 1
//   bits 16..23  the key's scan code
//   bit 24       extended key: set for the arrow keys
//   bit 30       previous key state: set in key-up messages
//   bit 31       transition state: set in key-up messages
// Only the keys the players are sent have a scan code here (Ctrl, Space, the two arrows,
// 'N', 'P', 'S'); any other key gets scan code 0.

#include <cstdint>

namespace brenik::monitor::media {

std::uint8_t ScanCodeOf(std::uint8_t virtualKey);
bool IsArrowKey(std::uint8_t virtualKey);

std::uint32_t KeyDownLParam(std::uint8_t virtualKey);
std::uint32_t KeyUpLParam(std::uint8_t virtualKey);

}  // namespace brenik::monitor::media
