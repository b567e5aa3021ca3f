#pragma once
// The packing of a history copy's files. A profile file is mostly its 44 key entries written
// as hexadecimal, and an unused entry is thousands of '0's in a row, so runs of one byte make
// up nearly all of it: packed, a profile file of about 170 KB takes a few KB, and twenty
// copies fit in the history's bound.
//
// Packed form: any byte but kRunMark stands for itself; kRunMark, a count (1..255) and a byte
// stand for that byte repeated count times. A kRunMark in the input is always written as a run.

#include <string>
#include <string_view>

namespace brenik::history {

constexpr unsigned char kRunMark = 0xFF;

std::string PackRuns(std::string_view bytes);
// False (and `bytes` empty) when `packed` is not such a text: a mark without its count and
// byte, a count of 0, or more than `limit` bytes unpacked.
bool UnpackRuns(std::string_view packed, std::size_t limit, std::string& bytes);

}  // namespace brenik::history
