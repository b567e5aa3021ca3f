#pragma once
// The readable form of a macro's actions, as profile editing takes and shows them:
//
//   actions = action *( "," action )        blanks around "," and between the parts are free
//   action  = sign key [ delay ]
//   sign    = "+" (press, event type 1) / "-" (release, event type 2)
//   key     = a key name or "0x" usage, as key_names.h lists them
//   delay   = decimal milliseconds 0..65535; 0 when left out
//
// Example: "+LShift 10, +A 50, -A, -LShift". At least one action, at most 400 (the record's
// room). Formatting writes the delay only when it is not 0, so Format(Parse(x)) is a
// normal form and Parse(Format(actions)) gives the actions back. An action read from the
// keyboard with an event type other than 1 or 2 is shown as "?<type>:<key> <delay>", which
// Parse refuses: such a macro is shown faithfully but cannot be typed back in.

#include "profile_record.h"

#include <string>
#include <string_view>
#include <vector>

namespace brenik::editing {

struct MacroParse {
    std::vector<MacroAction> actions;
    std::string error;  // empty on success; else what was wrong and where
    bool Ok() const { return error.empty(); }
};

constexpr std::uint8_t kEventPress = 1;
constexpr std::uint8_t kEventRelease = 2;

MacroParse ParseMacroActions(std::string_view text);
std::string FormatMacroActions(const MacroAction* actions, std::size_t count);

}  // namespace brenik::editing
