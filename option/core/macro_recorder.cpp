#include "macro_recorder.h"

#include "macro_grammar.h"

#include <algorithm>
#include <limits>

namespace brenik::option {
namespace {

struct ScanCodeUsage {
    std::uint16_t scanCode;
    bool extended;
    std::uint8_t usage;
};

// PC scan code set 1 as the window reports it (the extended flag for the E0-prefixed keys) to
// the HID usage of the same key.
constexpr ScanCodeUsage kScanCodes[] = {
    {0x01, false, 0x29},  // Esc
    {0x02, false, 0x1E}, {0x03, false, 0x1F}, {0x04, false, 0x20}, {0x05, false, 0x21}, {0x06, false, 0x22},
    {0x07, false, 0x23}, {0x08, false, 0x24}, {0x09, false, 0x25}, {0x0A, false, 0x26}, {0x0B, false, 0x27},
    {0x0C, false, 0x2D},  // -
    {0x0D, false, 0x2E},  // =
    {0x0E, false, 0x2A},  // Backspace
    {0x0F, false, 0x2B},  // Tab
    {0x10, false, 0x14}, {0x11, false, 0x1A}, {0x12, false, 0x08}, {0x13, false, 0x15}, {0x14, false, 0x17},
    {0x15, false, 0x1C}, {0x16, false, 0x18}, {0x17, false, 0x0C}, {0x18, false, 0x12}, {0x19, false, 0x13},
    {0x1A, false, 0x2F},  // [
    {0x1B, false, 0x30},  // ]
    {0x1C, false, 0x28},  // Enter
    {0x1C, true, 0x58},   // Num Enter
    {0x1D, false, 0xE0},  // Left Ctrl
    {0x1D, true, 0xE4},   // Right Ctrl
    {0x1E, false, 0x04}, {0x1F, false, 0x16}, {0x20, false, 0x07}, {0x21, false, 0x09}, {0x22, false, 0x0A},
    {0x23, false, 0x0B}, {0x24, false, 0x0D}, {0x25, false, 0x0E}, {0x26, false, 0x0F},
    {0x27, false, 0x33},  // ;
    {0x28, false, 0x34},  // '
    {0x29, false, 0x35},  // `
    {0x2A, false, 0xE1},  // Left Shift
    {0x2B, false, 0x31},  // backslash (also the key beside Enter on ISO boards)
    {0x2C, false, 0x1D}, {0x2D, false, 0x1B}, {0x2E, false, 0x06}, {0x2F, false, 0x19}, {0x30, false, 0x05},
    {0x31, false, 0x11}, {0x32, false, 0x10},
    {0x33, false, 0x36},  // ,
    {0x34, false, 0x37},  // .
    {0x35, false, 0x38},  // /
    {0x35, true, 0x54},   // Num /
    {0x36, false, 0xE5},  // Right Shift
    {0x37, false, 0x55},  // Num *
    {0x37, true, 0x46},   // Print Screen
    {0x38, false, 0xE2},  // Left Alt
    {0x38, true, 0xE6},   // Right Alt
    {0x39, false, 0x2C},  // Space
    {0x3A, false, 0x39},  // Caps Lock
    {0x3B, false, 0x3A}, {0x3C, false, 0x3B}, {0x3D, false, 0x3C}, {0x3E, false, 0x3D}, {0x3F, false, 0x3E},
    {0x40, false, 0x3F}, {0x41, false, 0x40}, {0x42, false, 0x41}, {0x43, false, 0x42}, {0x44, false, 0x43},
    {0x45, false, 0x48},  // Pause (Windows reports it so; the keyboard sends E1 1D 45)
    {0x45, true, 0x53},   // Num Lock
    {0x46, false, 0x47},  // Scroll Lock
    {0x46, true, 0x48},   // Ctrl+Pause (Break): the Pause key
    {0x47, false, 0x5F},  // Num 7
    {0x47, true, 0x4A},   // Home
    {0x48, false, 0x60},  // Num 8
    {0x48, true, 0x52},   // Up
    {0x49, false, 0x61},  // Num 9
    {0x49, true, 0x4B},   // Page Up
    {0x4A, false, 0x56},  // Num -
    {0x4B, false, 0x5C},  // Num 4
    {0x4B, true, 0x50},   // Left
    {0x4C, false, 0x5D},  // Num 5
    {0x4D, false, 0x5E},  // Num 6
    {0x4D, true, 0x4F},   // Right
    {0x4E, false, 0x57},  // Num +
    {0x4F, false, 0x59},  // Num 1
    {0x4F, true, 0x4D},   // End
    {0x50, false, 0x5A},  // Num 2
    {0x50, true, 0x51},   // Down
    {0x51, false, 0x5B},  // Num 3
    {0x51, true, 0x4E},   // Page Down
    {0x52, false, 0x62},  // Num 0
    {0x52, true, 0x49},   // Insert
    {0x53, false, 0x63},  // Num .
    {0x53, true, 0x4C},   // Delete
    {0x54, false, 0x46},  // Alt+Print Screen (SysRq): the Print Screen key
    {0x56, false, 0x64},  // Non-US backslash
    {0x57, false, 0x44},  // F11
    {0x58, false, 0x45},  // F12
    {0x59, false, 0x67},  // Num =
    {0x5B, true, 0xE3},   // Left Win
    {0x5C, true, 0xE7},   // Right Win
    {0x5D, true, 0x65},   // Menu
    {0x5E, true, 0x66},   // Power
    {0x64, false, 0x68}, {0x65, false, 0x69}, {0x66, false, 0x6A}, {0x67, false, 0x6B}, {0x68, false, 0x6C},
    {0x69, false, 0x6D}, {0x6A, false, 0x6E}, {0x6B, false, 0x6F}, {0x6C, false, 0x70}, {0x6D, false, 0x71},
    {0x6E, false, 0x72}, {0x76, false, 0x73},  // F13..F24
    {0x70, false, 0x88},  // Katakana/Hiragana
    {0x71, false, 0x91},  // Hanja
    {0x72, false, 0x90},  // Hangul
    {0x73, false, 0x87},  // Ro
    {0x79, false, 0x8A},  // Henkan
    {0x7B, false, 0x8B},  // Muhenkan
    {0x7D, false, 0x89},  // Yen
    {0x7E, false, 0x85},  // Num , (Brazilian keypad)
    {0x20, true, 0x7F},   // Mute
    {0x2E, true, 0x81},   // Volume Down
    {0x30, true, 0x80},   // Volume Up
};

// Windows virtual-key codes, for input that carries no scan code.
constexpr std::uint16_t kVkCancel = 0x03;
constexpr std::uint16_t kVkBack = 0x08;
constexpr std::uint16_t kVkTab = 0x09;
constexpr std::uint16_t kVkClear = 0x0C;
constexpr std::uint16_t kVkReturn = 0x0D;
constexpr std::uint16_t kVkShift = 0x10;
constexpr std::uint16_t kVkControl = 0x11;
constexpr std::uint16_t kVkMenu = 0x12;  // Alt
constexpr std::uint16_t kVkPause = 0x13;
constexpr std::uint16_t kVkCapital = 0x14;
constexpr std::uint16_t kVkKana = 0x15;
constexpr std::uint16_t kVkEscape = 0x1B;
constexpr std::uint16_t kVkConvert = 0x1C;
constexpr std::uint16_t kVkNonConvert = 0x1D;
constexpr std::uint16_t kVkSpace = 0x20;
constexpr std::uint16_t kVkPrior = 0x21;
constexpr std::uint16_t kVkNext = 0x22;
constexpr std::uint16_t kVkEnd = 0x23;
constexpr std::uint16_t kVkHome = 0x24;
constexpr std::uint16_t kVkLeft = 0x25;
constexpr std::uint16_t kVkUp = 0x26;
constexpr std::uint16_t kVkRight = 0x27;
constexpr std::uint16_t kVkDown = 0x28;
constexpr std::uint16_t kVkSelect = 0x29;
constexpr std::uint16_t kVkExecute = 0x2B;
constexpr std::uint16_t kVkSnapshot = 0x2C;
constexpr std::uint16_t kVkInsert = 0x2D;
constexpr std::uint16_t kVkDelete = 0x2E;
constexpr std::uint16_t kVkHelp = 0x2F;
constexpr std::uint16_t kVk0 = 0x30;
constexpr std::uint16_t kVk1 = 0x31;
constexpr std::uint16_t kVk9 = 0x39;
constexpr std::uint16_t kVkA = 0x41;
constexpr std::uint16_t kVkZ = 0x5A;
constexpr std::uint16_t kVkLWin = 0x5B;
constexpr std::uint16_t kVkRWin = 0x5C;
constexpr std::uint16_t kVkApps = 0x5D;
constexpr std::uint16_t kVkNumpad0 = 0x60;
constexpr std::uint16_t kVkNumpad1 = 0x61;
constexpr std::uint16_t kVkNumpad9 = 0x69;
constexpr std::uint16_t kVkMultiply = 0x6A;
constexpr std::uint16_t kVkAdd = 0x6B;
constexpr std::uint16_t kVkSeparator = 0x6C;
constexpr std::uint16_t kVkSubtract = 0x6D;
constexpr std::uint16_t kVkDecimal = 0x6E;
constexpr std::uint16_t kVkDivide = 0x6F;
constexpr std::uint16_t kVkF1 = 0x70;
constexpr std::uint16_t kVkF12 = 0x7B;
constexpr std::uint16_t kVkF13 = 0x7C;
constexpr std::uint16_t kVkF24 = 0x87;
constexpr std::uint16_t kVkNumLock = 0x90;
constexpr std::uint16_t kVkScroll = 0x91;
constexpr std::uint16_t kVkLShift = 0xA0;
constexpr std::uint16_t kVkRShift = 0xA1;
constexpr std::uint16_t kVkLControl = 0xA2;
constexpr std::uint16_t kVkRControl = 0xA3;
constexpr std::uint16_t kVkLMenu = 0xA4;
constexpr std::uint16_t kVkRMenu = 0xA5;
constexpr std::uint16_t kVkVolumeMute = 0xAD;
constexpr std::uint16_t kVkVolumeDown = 0xAE;
constexpr std::uint16_t kVkVolumeUp = 0xAF;
constexpr std::uint16_t kVkOem1 = 0xBA;  // ;
constexpr std::uint16_t kVkOemPlus = 0xBB;
constexpr std::uint16_t kVkOemComma = 0xBC;
constexpr std::uint16_t kVkOemMinus = 0xBD;
constexpr std::uint16_t kVkOemPeriod = 0xBE;
constexpr std::uint16_t kVkOem2 = 0xBF;  // /
constexpr std::uint16_t kVkOem3 = 0xC0;  // `
constexpr std::uint16_t kVkOem4 = 0xDB;  // [
constexpr std::uint16_t kVkOem5 = 0xDC;  // backslash
constexpr std::uint16_t kVkOem6 = 0xDD;  // ]
constexpr std::uint16_t kVkOem7 = 0xDE;  // '
constexpr std::uint16_t kVkOem102 = 0xE2;  // Non-US backslash

struct VirtualKeyUsage {
    std::uint16_t virtualKey;
    std::uint8_t usage;
    std::uint8_t extendedUsage;  // for the extended form of a key that has two (Enter, Ctrl, Alt)
};

constexpr VirtualKeyUsage kVirtualKeys[] = {
    {kVkCancel, 0x48, 0x48},     {kVkBack, 0x2A, 0x2A},       {kVkTab, 0x2B, 0x2B},
    {kVkClear, 0x9C, 0x9C},      {kVkReturn, 0x28, 0x58},     {kVkShift, 0xE1, 0xE1},
    {kVkControl, 0xE0, 0xE4},    {kVkMenu, 0xE2, 0xE6},       {kVkPause, 0x48, 0x48},
    {kVkCapital, 0x39, 0x39},    {kVkKana, 0x88, 0x88},       {kVkEscape, 0x29, 0x29},
    {kVkConvert, 0x8A, 0x8A},    {kVkNonConvert, 0x8B, 0x8B}, {kVkSpace, 0x2C, 0x2C},
    {kVkPrior, 0x4B, 0x4B},      {kVkNext, 0x4E, 0x4E},       {kVkEnd, 0x4D, 0x4D},
    {kVkHome, 0x4A, 0x4A},       {kVkLeft, 0x50, 0x50},       {kVkUp, 0x52, 0x52},
    {kVkRight, 0x4F, 0x4F},      {kVkDown, 0x51, 0x51},       {kVkSelect, 0x77, 0x77},
    {kVkExecute, 0x74, 0x74},    {kVkSnapshot, 0x46, 0x46},   {kVkInsert, 0x49, 0x49},
    {kVkDelete, 0x4C, 0x4C},     {kVkHelp, 0x75, 0x75},       {kVk0, 0x27, 0x27},
    {kVkLWin, 0xE3, 0xE3},       {kVkRWin, 0xE7, 0xE7},       {kVkApps, 0x65, 0x65},
    {kVkNumpad0, 0x62, 0x62},    {kVkMultiply, 0x55, 0x55},   {kVkAdd, 0x57, 0x57},
    {kVkSeparator, 0x85, 0x85},  {kVkSubtract, 0x56, 0x56},   {kVkDecimal, 0x63, 0x63},
    {kVkDivide, 0x54, 0x54},     {kVkNumLock, 0x53, 0x53},    {kVkScroll, 0x47, 0x47},
    {kVkLShift, 0xE1, 0xE1},     {kVkRShift, 0xE5, 0xE5},     {kVkLControl, 0xE0, 0xE0},
    {kVkRControl, 0xE4, 0xE4},   {kVkLMenu, 0xE2, 0xE2},      {kVkRMenu, 0xE6, 0xE6},
    {kVkVolumeMute, 0x7F, 0x7F}, {kVkVolumeDown, 0x81, 0x81}, {kVkVolumeUp, 0x80, 0x80},
    {kVkOem1, 0x33, 0x33},       {kVkOemPlus, 0x2E, 0x2E},    {kVkOemComma, 0x36, 0x36},
    {kVkOemMinus, 0x2D, 0x2D},   {kVkOemPeriod, 0x37, 0x37},  {kVkOem2, 0x38, 0x38},
    {kVkOem3, 0x35, 0x35},       {kVkOem4, 0x2F, 0x2F},       {kVkOem5, 0x31, 0x31},
    {kVkOem6, 0x30, 0x30},       {kVkOem7, 0x34, 0x34},       {kVkOem102, 0x64, 0x64},
};

// The runs of keys whose codes follow each other in both tables.
struct VirtualKeyRun {
    std::uint16_t first;
    std::uint16_t last;
    std::uint8_t firstUsage;
};

constexpr VirtualKeyRun kVirtualKeyRuns[] = {
    {kVkA, kVkZ, 0x04},
    {kVk1, kVk9, 0x1E},
    {kVkNumpad1, kVkNumpad9, 0x59},
    {kVkF1, kVkF12, 0x3A},
    {kVkF13, kVkF24, 0x68},
};

std::optional<std::uint8_t> UsageOfScanCode(std::uint16_t scanCode, bool extended) {
    for (const ScanCodeUsage& entry : kScanCodes) {
        if (entry.scanCode == scanCode && entry.extended == extended) return entry.usage;
    }
    return std::nullopt;
}

std::optional<std::uint8_t> UsageOfVirtualKey(std::uint16_t virtualKey, bool extended) {
    for (const VirtualKeyRun& run : kVirtualKeyRuns) {
        if (virtualKey >= run.first && virtualKey <= run.last) {
            return static_cast<std::uint8_t>(run.firstUsage + (virtualKey - run.first));
        }
    }
    for (const VirtualKeyUsage& entry : kVirtualKeys) {
        if (entry.virtualKey == virtualKey) return extended ? entry.extendedUsage : entry.usage;
    }
    return std::nullopt;
}

constexpr std::uint32_t kLongestDelayMs = std::numeric_limits<std::uint16_t>::max();

}  // namespace

std::optional<std::uint8_t> UsageOfKey(std::uint16_t virtualKey, std::uint16_t scanCode, bool extended) {
    if (scanCode == 0) return UsageOfVirtualKey(virtualKey, extended);
    return UsageOfScanCode(scanCode, extended);
}

MacroRecorder::MacroRecorder(DelayMode mode, std::uint16_t fixedDelayMs) : mode_(mode), fixedDelayMs_(fixedDelayMs) {}

bool MacroRecorder::Full() const {
    // Room is kept for the release of every key held, so that stopping can always let them go.
    return actions_.size() + held_.size() + 2 > static_cast<std::size_t>(kMaxMacroActions);
}

bool MacroRecorder::Add(const RecordedKey& key) {
    const std::optional<std::uint8_t> usage = UsageOfKey(key.virtualKey, key.scanCode, key.extended);
    if (!usage) return false;
    const auto held = std::find(held_.begin(), held_.end(), *usage);
    if (key.down) {
        if (held != held_.end() || Full()) return false;
        held_.push_back(*usage);
    } else {
        if (held == held_.end()) return false;
        held_.erase(held);
    }
    Append(*usage, key.down ? editing::kEventPress : editing::kEventRelease, key.timeMs);
    return true;
}

void MacroRecorder::ReleaseHeld() {
    const std::uint32_t now = times_.empty() ? 0 : times_.back();
    // The last pressed first, as fingers leave a chord.
    while (!held_.empty()) {
        const std::uint8_t usage = held_.back();
        held_.pop_back();
        Append(usage, editing::kEventRelease, now);
    }
}

void MacroRecorder::Append(std::uint8_t usage, std::uint8_t eventType, std::uint32_t timeMs) {
    if (!actions_.empty()) {
        // Unsigned difference: right across the message clock's wrap.
        const std::uint32_t elapsed = timeMs - times_.back();
        std::uint16_t delay = fixedDelayMs_;
        if (mode_ == DelayMode::kAsPressed) {
            clipped_ = clipped_ || elapsed > kLongestDelayMs;
            delay = static_cast<std::uint16_t>(std::min(elapsed, kLongestDelayMs));
        }
        actions_.back().DelayMs = delay;
    }
    actions_.push_back({usage, eventType, 0});
    times_.push_back(timeMs);
}

}  // namespace brenik::option
