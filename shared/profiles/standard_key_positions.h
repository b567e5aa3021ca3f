#pragma once
// Where each of the profile's 97 standard keys sits in the keyboard's 144-byte key matrix, or
// kNoPosition for a key the keyboard's map does not hold (the Yen key and the keypad). The
// monitor builds and reads the key map report from it; the settings program shows from it which
// keys reach the keyboard.

#include "profile_record.h"

#include <array>
#include <cstdint>

namespace brenik {

constexpr std::uint8_t kNoPosition = 255;

constexpr std::array<std::uint8_t, kStandardKeyCount> StandardKeyPositions = {
    9,   17,  25,  33,  41,  49,  57,  65,  73,  81,   //
    89,  97,  105, 255, 113, 10,  18,  26,  34,  42,   //
    50,  58,  66,  74,  82,  90,  98,  106, 114, 11,   //
    19,  27,  35,  43,  51,  59,  67,  75,  83,  91,   //
    99,  115, 107, 12,  37,  20,  28,  36,  44,  52,   //
    60,  68,  76,  84,  92,  100, 108, 13,  21,  29,   //
    53,  77,  93,  101, 109, 121, 122, 125, 129, 130,  //
    132, 133, 137, 138, 141, 255, 255, 255, 255, 255,  //
    255, 255, 255, 255, 255, 255, 255, 255, 255, 255,  //
    255, 255, 255, 8,   120, 128, 136};

}  // namespace brenik
