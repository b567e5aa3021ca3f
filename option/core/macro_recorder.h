#pragma once
// Turns the keys a user presses into a macro's actions, with the delays as pressed or one fixed
// delay between every two actions.
//
// A key arrives as the window gets it: its virtual-key code, its scan code and whether it is an
// extended key, up or down, and the message's time in milliseconds (which wraps at 2^32). The
// scan code says which key it is wherever it sits on a layout; the virtual-key code is used when
// the scan code is unknown (input made by a program may carry none). A key held down repeats its
// down message: only the first press is an action. A release of a key that was never pressed
// while recording (the Enter that started the recording) is not an action.
//
// An action's delay is the time until the next action, as the keyboard plays it back (press,
// wait, next). The last action's delay is 0. A delay longer than 65535 ms is cut to 65535, said
// through Clipped(). At 400 actions (the record's room) the recorder is full and takes no more.

#include "profile_record.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace brenik::option {

enum class DelayMode { kAsPressed, kFixed };

struct RecordedKey {
    std::uint32_t timeMs = 0;
    std::uint16_t virtualKey = 0;
    std::uint16_t scanCode = 0;  // without the extended bit
    bool extended = false;
    bool down = true;
};

// The HID usage of a key as the window reports it; nothing for a key with no usage.
std::optional<std::uint8_t> UsageOfKey(std::uint16_t virtualKey, std::uint16_t scanCode, bool extended);

class MacroRecorder {
public:
    explicit MacroRecorder(DelayMode mode = DelayMode::kAsPressed, std::uint16_t fixedDelayMs = 50);

    // False when the key is not taken: full, a repeat, a release without its press, or no usage.
    bool Add(const RecordedKey& key);
    // Releases every key still held (at the time of the last action), so the macro never leaves
    // a key down; done when recording stops.
    void ReleaseHeld();

    const std::vector<MacroAction>& Actions() const { return actions_; }
    // No room for another press and its release: room is kept for releasing every key held.
    bool Full() const;
    bool Clipped() const { return clipped_; }

private:
    // Sets the previous action's delay from `timeMs`, then appends the action with delay 0.
    void Append(std::uint8_t usage, std::uint8_t eventType, std::uint32_t timeMs);

    DelayMode mode_;
    std::uint16_t fixedDelayMs_;
    std::vector<MacroAction> actions_;
    std::vector<std::uint32_t> times_;
    std::vector<std::uint8_t> held_;
    bool clipped_ = false;
};

}  // namespace brenik::option
