#pragma once
// What the keyboard stores for one profile, in the form it travels on the wire: the key
// matrix, locked-key flags, a 3-byte key-function record per programmable key, the lighting
// block, and a macro and a launch entry per key. The firmware keeps what the host wrote and
// sends it back unchanged; only the factory state is its own.

#include "keyboard_reports.h"

#include <array>
#include <cstdint>

namespace brenik::vkb {

struct MacroEntry {
    std::uint8_t option = 0;
    std::array<std::uint8_t, report::kMacroNamesSize> names{};  // entry name, then macro name
    std::uint16_t actionCount = 0;
    std::array<std::uint8_t, report::kMaxMacroActions * report::kMacroActionSize> actions{};
};

struct LaunchEntry {
    std::array<std::uint8_t, report::kLaunchNameSize> name{};
    std::uint32_t value = 0;
};

struct ProfileMemory {
    std::array<std::uint8_t, report::kKeyMatrixSize> keyMatrix{};
    std::uint8_t lockedKeys = 0;
    std::array<std::array<std::uint8_t, 3>, report::kFunctionKeyCount> keyFunctions{};
    std::array<std::uint8_t, report::kLightingLength> lighting{};  // bytes 0..2 unused (header)
    std::array<MacroEntry, report::kKeyEntryCount> macros{};
    std::array<LaunchEntry, report::kKeyEntryCount> launches{};
};

// A profile as the keyboard leaves the factory: the default key matrix, no locked keys,
// every programmable key on its default function, the factory lighting, no macros and no
// launch entries.
ProfileMemory FactoryProfile();

// One key-function block: which keys it carries, where its records start and the code that
// stands for a key's default function.
struct KeyFunctionBlock {
    std::uint8_t reportId;
    std::size_t length;
    std::uint8_t selector;
    int firstKey;
    int keyCount;
    std::size_t recordOffset;
    std::uint8_t firstDefaultCode;  // key firstKey + j defaults to firstDefaultCode + j
};

// The block with this report id or selector, or nullptr.
const KeyFunctionBlock* KeyFunctionBlockById(std::uint8_t reportId);
const KeyFunctionBlock* KeyFunctionBlockBySelector(std::uint8_t selector);

}  // namespace brenik::vkb
