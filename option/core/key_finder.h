#pragma once
// Which key of the key page a key pressed on the computer's keyboard, or a name typed, picks.
//
// A pressed key arrives as its HID usage. F1 to F12 pick the assignable keys 1 to 12 (the keys
// the keyboard numbers are its function row). Any other usage picks the standard key that
// sends it in the profile as the keyboard holds it (a remapped key is found by what it does
// now), else the key whose own code it is. Keys the keyboard does not hold are never picked.

#include "profile_record.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace brenik::option {

struct PickedKey {
    enum class Kind { kStandard, kBank };
    Kind kind = Kind::kStandard;
    int index = 0;  // standard: 0..96 in the key map; bank: key entry 0..43
    bool operator==(const PickedKey& other) const { return kind == other.kind && index == other.index; }
    bool operator!=(const PickedKey& other) const { return !(*this == other); }
};

std::optional<PickedKey> KeyForUsage(std::uint8_t usage, const std::uint8_t (&loadedMap)[kStandardKeyCount]);

// The standard key the keyboard holds whose name is `text` (any case, blanks at either end
// ignored), else the first whose name starts with it, else the first that contains it;
// nothing for an empty text.
std::optional<int> StandardKeyNamed(std::string_view text);

// Whether `name` contains `text`, in any case; blanks around `text` do not count.
bool NameContains(std::string_view name, std::string_view text);

}  // namespace brenik::option
