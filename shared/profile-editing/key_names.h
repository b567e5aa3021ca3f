#pragma once
// Readable names of HID keyboard usages, for macro actions and single-key assignments, and
// of the bits of the HID modifier byte.
//
// A key is written as one of the names below (any case) or as its usage number in
// hexadecimal with "0x" (0x00..0xFF). Numbers are hexadecimal only, so that "1" is always the
// digit key 1 and never usage 1.
//   letters A..Z, digits 0..9, F1..F12, Enter, Esc, Backspace, Tab, Space,
//   Right, Left, Down, Up, LCtrl, LShift, LAlt, LWin, RCtrl, RShift, RAlt, RWin
// A modifier byte is written as a number (decimal 0..255 or "0x" hexadecimal) or as
// modifier key names joined by "+" ("LCtrl+LShift"), each name one bit.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace brenik::editing {

std::optional<std::uint8_t> ParseKeyUsage(std::string_view text);
// The name when the usage has one, else "0x" and two upper-case hexadecimal digits.
std::string FormatKeyUsage(std::uint8_t usage);

std::optional<std::uint8_t> ParseModifiers(std::string_view text);
// "LCtrl+LShift" for set bits; "none" for 0.
std::string FormatModifiers(std::uint8_t modifiers);

// A whole number in decimal, or hexadecimal after "0x", within [low, high]; nothing else
// (no sign on hexadecimal, no blanks, no trailing text).
std::optional<std::int64_t> ParseNumber(std::string_view text, std::int64_t low, std::int64_t high);

}  // namespace brenik::editing
