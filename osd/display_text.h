#pragma once
// Texts that come from outside (a profile name in the shared block, a macro name or a message
// in config.ini) made fit to show: the text ends at the first NUL, whatever comes after; a
// fixed field without one ends at the field's end; control characters become spaces; blanks
// around it go; and a text longer than the limit is cut, with "..." after the cut, never
// between the two bytes of a double-byte character of the system's code page.

#include <cstddef>
#include <string>
#include <string_view>

namespace brenik::osd {

// True for a byte that starts a two-byte character in the system's code page; null for a
// code page of single bytes.
using LeadBytePredicate = bool (*)(unsigned char);

constexpr const char* kCutMark = "...";

// maxBytes counts the text's own bytes, without the mark.
std::string DisplayText(std::string_view raw, std::size_t maxBytes, LeadBytePredicate isLeadByte = nullptr);

}  // namespace brenik::osd
