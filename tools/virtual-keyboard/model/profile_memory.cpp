#include "profile_memory.h"

#include <cstddef>

namespace brenik::vkb {
namespace {

// The factory key matrix: 18 groups of 8 matrix positions. It is the host's default matrix
// except at position 12, the left Shift key's: there the host's table has 226 (left Alt, which
// also sits at position 29) and no position holds 225 (left Shift) at all. A keyboard fresh
// from the factory has its left Shift key there, so a host that reads it back finds the
// profile's own default (0xE1) and not a second left Alt. The host never sends its value at
// 12: that position always carries the profile's entry.
constexpr std::uint8_t kFactoryKeyMatrix[report::kKeyMatrixSize] = {
    0,   160, 161, 162, 163, 164, 0, 0,  //
    41,  53,  43,  57,  225, 224, 0, 0,  //
    58,  30,  20,  4,   29,  191, 0, 0,  //
    59,  31,  26,  22,  27,  226, 0, 0,  //
    60,  32,  8,   7,   6,   100, 0, 0,  //
    61,  33,  21,  9,   25,  139, 0, 0,  //
    62,  34,  23,  10,  5,   44,  0, 0,  //
    63,  35,  28,  11,  17,  145, 0, 0,  //
    64,  36,  24,  13,  16,  144, 0, 0,  //
    65,  37,  12,  14,  54,  230, 0, 0,  //
    66,  38,  18,  15,  55,  138, 0, 0,  //
    137, 39,  19,  51,  56,  231, 0, 0,  //
    67,  45,  47,  52,  135, 101, 0, 0,  //
    68,  46,  48,  40,  229, 228, 0, 0,  //
    69,  42,  49,  50,  49,  136, 0, 0,  //
    70,  73,  76,  0,   0,   80,  0, 0,  //
    71,  74,  77,  0,   82,  81,  0, 0,  //
    72,  75,  78,  0,   0,   79,  0, 0,  //
};

// The factory lighting block, bytes 3..29 (bytes 0..2 are the header, 30 and 31 unused):
// fixed markers 1, 2, 1; red keys; lighting control 1; no power saving; colour flow off;
// fixed 2; logo on in red; logo control 1; logo flow off; fixed 2; key light on the
// second flag (byte 23); effects 0.
constexpr std::uint8_t kFactoryLighting[report::kLightingLength] = {
    0, 0, 0,              // header
    1, 2, 1,              // 3..5
    255, 0, 0,            // 6..8 key colour
    1, 0, 0,              // 9..11 control, saving, timeout
    0, 0, 2,              // 12..14
    1, 255, 0, 0,         // 15..18 logo option and colour
    1, 0, 2,              // 19..21 logo control, flow, speed
    0, 1, 0, 0, 0, 0,     // 22..27 key light flags
    0, 0,                 // 28..29 effects
    0, 0,                 // 30..31
};

constexpr KeyFunctionBlock kBlocks[] = {
    {report::kKeyFunctionsA, report::kKeyFunctionsALength, report::kSelectKeyFunctionsA, 0, 12, 12, 0x3A},
    {report::kKeyFunctionsB, report::kKeyFunctionsBLength, report::kSelectKeyFunctionsB, 12, 10, 10, 0x1E},
    {report::kKeyFunctionsC, report::kKeyFunctionsCLength, report::kSelectKeyFunctionsC, 37, 5, 3, 0x1E},
};

}  // namespace

ProfileMemory FactoryProfile() {
    ProfileMemory profile;
    for (std::size_t i = 0; i < report::kKeyMatrixSize; ++i) profile.keyMatrix[i] = kFactoryKeyMatrix[i];
    for (std::size_t i = 0; i < report::kLightingLength; ++i) profile.lighting[i] = kFactoryLighting[i];
    for (const KeyFunctionBlock& block : kBlocks) {
        for (int j = 0; j < block.keyCount; ++j) {
            profile.keyFunctions[static_cast<std::size_t>(block.firstKey + j)] = {
                static_cast<std::uint8_t>(block.firstDefaultCode + j), 0, 0};
        }
    }
    return profile;
}

const KeyFunctionBlock* KeyFunctionBlockById(std::uint8_t reportId) {
    for (const KeyFunctionBlock& block : kBlocks) {
        if (block.reportId == reportId) return &block;
    }
    return nullptr;
}

const KeyFunctionBlock* KeyFunctionBlockBySelector(std::uint8_t selector) {
    for (const KeyFunctionBlock& block : kBlocks) {
        if (block.selector == selector) return &block;
    }
    return nullptr;
}

}  // namespace brenik::vkb
