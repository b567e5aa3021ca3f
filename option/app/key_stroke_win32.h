#pragma once
// How this computer types a key code of a macro: the HID usage mapped back to the scan code
// (and extended bit) the keyboard sends for it, found by asking the recorder's own mapping
// (UsageOfKey) about every scan code, so what is played is what was recorded; a usage no scan
// code gives (a media key) falls back to its virtual-key code.

#include <windows.h>

#include <array>
#include <cstdint>
#include <optional>

namespace brenik::option {

struct KeyStroke {
    WORD virtualKey = 0;
    WORD scanCode = 0;  // 0: none, the virtual-key code alone is sent
    bool extended = false;
};

// Made from the system's mapping of the keyboard layout in use when it is made.
class KeyStrokeTable {
public:
    KeyStrokeTable();
    // Nothing for a usage this computer has no key for.
    std::optional<KeyStroke> Of(std::uint8_t usage) const { return strokes_[usage]; }

private:
    std::array<std::optional<KeyStroke>, 256> strokes_;
};

// The input SendInput takes for the key going down or up: by scan code where there is one, so
// the layout in use turns it into the character the key types.
INPUT KeyInput(const KeyStroke& stroke, bool down);

}  // namespace brenik::option
