#pragma once
// Names and paths live in the profile record as bytes of the system's ANSI code page, as the
// monitor and the INI files keep them. The window shows and takes UTF-16; these convert, and
// refuse a character the code page cannot hold instead of letting the system put a "?" or a
// look-alike in its place.

#include <optional>
#include <string>
#include <string_view>

namespace brenik::option {

std::wstring WideFromAnsi(std::string_view ansi);

// The bytes, or nullopt with the first character that has no place in the code page.
std::optional<std::string> AnsiFromWide(std::wstring_view wide, std::wstring& refusedCharacter);

// "\"Ω\" cannot be stored: ..." for a refused character.
std::wstring NotInCodePageMessage(const std::wstring& character);

}  // namespace brenik::option
