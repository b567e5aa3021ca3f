#pragma once
// The control language of the virtual keyboard: what a test, the demo or a person types
// after "vkbd" ("profile 3", "record-macro 5", "fault busy forever", "dump"). The server
// runs each line on its keyboard; vkbd only adds start, stop, help and writing a trace to a
// file. Words are separated by blanks; numbers are decimal or 0x hex.

#include "virtual_keyboard.h"

#include <string>
#include <string_view>
#include <vector>

namespace brenik::vkb {

struct ControlResult {
    bool ok = false;
    std::string text;   // the answer: a confirmation, JSON, trace text, image bytes or what was wrong
    bool stop = false;  // the command was "stop": the server ends after answering
};

std::vector<std::string> SplitWords(std::string_view line);

// Runs one command. Refused commands (unknown words, numbers out of range, an event the
// unplugged keyboard cannot send) change nothing and say why.
ControlResult RunControlCommand(VirtualKeyboard& keyboard, const std::vector<std::string>& words);

// The usage text of every command, as vkbd help prints it.
const char* ControlHelp();

// Reads a decimal or 0x-hex number within [low, high]; false for anything else.
bool ParseNumber(std::string_view text, long low, long high, long& value);

}  // namespace brenik::vkb
