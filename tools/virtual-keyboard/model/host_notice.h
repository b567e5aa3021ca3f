#pragma once
// What the keyboard tells the host besides feature reports: a key event (window message
// 1325, event class and sub-code) or a change of presence (message 1326).

#include <cstdint>

namespace brenik::vkb {

struct HostNotice {
    enum class Kind { kKeyEvent, kArrived, kRemoved };
    Kind kind = Kind::kKeyEvent;
    // Only for kKeyEvent: the class (high word of the event word) and the sub-code, whose
    // high byte is the qualifier and low byte the key byte.
    std::uint16_t eventClass = 0;
    std::uint16_t subCode = 0;
};

}  // namespace brenik::vkb
