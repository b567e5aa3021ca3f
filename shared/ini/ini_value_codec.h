#pragma once
// How values look inside a private-profile (INI) file: integers, strings and checksummed
// "struct" blocks of bytes. Pure text transformations; no file access.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace brenik::ini {

// Strings are read through a 2048-character buffer: at most 2047 characters come back.
constexpr std::size_t kMaxStringChars = 2047;

// Cuts a string to what a read returns.
std::string CutToReadLimit(std::string_view text);

// Reads an integer the way the platform does: leading blanks skipped, one optional sign,
// "0x", "0o" or "0b" prefixes, digits up to the first other character, arithmetic that wraps
// at 32 bits. Text that is not a number gives 0 (not the caller's default); "-1" gives -1.
// Only the first 29 characters count, as in the platform's 30-character buffer.
int ParseInt(std::string_view text);

// "%d".
std::string FormatInt(int value);

// N bytes as 2N upper-case hex digits in memory order, then two digits of their sum
// modulo 256.
std::string EncodeStruct(const std::uint8_t* data, std::size_t size);

// Decodes a value written by EncodeStruct. Fails (leaving dest untouched) unless the text has
// exactly 2*size+2 hex digits and the checksum matches.
bool DecodeStruct(std::string_view text, std::uint8_t* dest, std::size_t size);

}  // namespace brenik::ini
