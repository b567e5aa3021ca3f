#pragma once
// What one key entry is assigned from words (the settings tool's `key` command), and how an
// entry is described (its `show`).
//
//   standard                  the key keeps its standard function (type 0x20)
//   single CODE [MODIFIER]    one key (type 0xB8): usage in Actions[0].KeyCode, the modifier
//                             byte in Actions[0].EventType, ActionCount 1
//   macro NAME ACTIONS        a macro (type 0xBE): NAME (at most 31 characters) in both
//                             MacroName and EntryName, the actions in macro_grammar.h's form
//   program PATH              start a program (type 0xB9), PATH shorter than 260 characters
//   launch VALUE [NAME]       a launch entry (type 0xBC) with the 32-bit VALUE; NAME (at most
//                             31 characters) is the name the keyboard keeps with it
//
// The entry is rebuilt from its defaults: every other field is cleared and KeyIndex is the
// entry's own index, so nothing of an earlier assignment is left behind.
// CODE and MODIFIER are written as key_names.h says.

#include "profile_record.h"

#include <optional>
#include <string>
#include <vector>

namespace brenik::editing {

// words: the assignment, without the key number. index: the entry (key number - 1).
std::optional<MacroKeyInfo> BuildKeyAssignment(const std::vector<std::string>& words, int index, std::string& error);

// One line: "standard", "single A (modifiers LCtrl)", "macro "Name": +A 50, -A",
// "program C:\x.exe", "launch 7 "Name"", or "function 0xNN" for a code the tool does not know.
std::string DescribeKeyAssignment(const MacroKeyInfo& entry);

// Whether the keyboard has a key-block entry for entry `index` (key number - 1): the three
// key blocks cover entries 0..11, 12..21 and 37..41. A standard, single-key or program
// assignment of another entry sends nothing; a macro or launch entry travels on its own.
bool HasKeyBlock(int index);

// The kind as a word ("standard", "single", "macro", "program", "launch", "other").
std::string KeyAssignmentKind(const MacroKeyInfo& entry);

}  // namespace brenik::editing
