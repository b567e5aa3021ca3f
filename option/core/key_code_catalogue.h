#pragma once
// Every code a key can be given, by name: the HID keyboard usages 0x00 to 0xFF with a readable
// name each ("A", "Left Ctrl", "Num 7", "Volume Up"; a code with no meaning of its own reads
// "Code 0xNN"), for the key picker's searchable list and for the labels of the drawn keys.
// The names here are for people; what the settings tool takes as text is key_names.h's syntax.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace brenik::option {

struct KeyCodeName {
    std::uint8_t usage = 0;
    std::string name;   // "Left Ctrl"
    std::string label;  // short, for a drawn key: "LCtrl", "Num7", "A"
};

// All 256 codes in order of usage.
const std::vector<KeyCodeName>& KeyCodeCatalogue();
const KeyCodeName& KeyCode(std::uint8_t usage);

// The codes whose name contains every word of `text` (any case), or whose hexadecimal form
// ("0x2C", "2c") is `text`, named codes first in usage order; an empty text gives every named
// code. "Code 0xNN" entries match only by their number.
std::vector<std::uint8_t> SearchKeyCodes(std::string_view text);

}  // namespace brenik::option
