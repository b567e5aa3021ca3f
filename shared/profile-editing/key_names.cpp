#include "key_names.h"

#include <cstdio>

namespace brenik::editing {
namespace {

struct NamedUsage {
    const char* name;
    std::uint8_t usage;
};

// Named keys outside the runs of letters, digits and function keys.
constexpr NamedUsage kNamedKeys[] = {
    {"Enter", 0x28}, {"Esc", 0x29},    {"Backspace", 0x2A}, {"Tab", 0x2B},    {"Space", 0x2C},
    {"Right", 0x4F}, {"Left", 0x50},   {"Down", 0x51},      {"Up", 0x52},     {"LCtrl", 0xE0},
    {"LShift", 0xE1}, {"LAlt", 0xE2},  {"LWin", 0xE3},      {"RCtrl", 0xE4},  {"RShift", 0xE5},
    {"RAlt", 0xE6},  {"RWin", 0xE7},
};

constexpr std::uint8_t kUsageA = 0x04;
constexpr std::uint8_t kUsageZ = 0x1D;
constexpr std::uint8_t kUsageDigit1 = 0x1E;  // 1..9, then 0 at 0x27
constexpr std::uint8_t kUsageDigit0 = 0x27;
constexpr std::uint8_t kUsageF1 = 0x3A;
constexpr int kFunctionKeys = 12;
// Modifier keys LCtrl..RWin are usages 0xE0..0xE7; their bits in the modifier byte follow
// the same order.
constexpr std::uint8_t kFirstModifierUsage = 0xE0;

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Upper(a[i]) != Upper(b[i])) return false;
    }
    return true;
}

std::optional<std::uint8_t> NamedKey(std::string_view text) {
    if (text.size() == 1) {
        const char c = Upper(text[0]);
        if (c >= 'A' && c <= 'Z') return static_cast<std::uint8_t>(kUsageA + (c - 'A'));
        if (c == '0') return kUsageDigit0;
        if (c >= '1' && c <= '9') return static_cast<std::uint8_t>(kUsageDigit1 + (c - '1'));
    }
    if (text.size() >= 2 && Upper(text[0]) == 'F' && text[1] != '0') {
        if (const auto n = ParseNumber(text.substr(1), 1, kFunctionKeys); n && text.substr(1).find('x') == std::string_view::npos) {
            return static_cast<std::uint8_t>(kUsageF1 + *n - 1);
        }
    }
    for (const NamedUsage& key : kNamedKeys) {
        if (SameName(text, key.name)) return key.usage;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::int64_t> ParseNumber(std::string_view text, std::int64_t low, std::int64_t high) {
    int base = 10;
    bool negative = false;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    } else if (!text.empty() && text[0] == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    if (text.empty() || text.size() > 12) return std::nullopt;  // 12 digits: no overflow below
    std::int64_t value = 0;
    for (const char c : text) {
        int digit = -1;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (base == 16 && Upper(c) >= 'A' && Upper(c) <= 'F') digit = Upper(c) - 'A' + 10;
        if (digit < 0) return std::nullopt;
        value = value * base + digit;
    }
    if (negative) value = -value;
    if (value < low || value > high) return std::nullopt;
    return value;
}

std::optional<std::uint8_t> ParseKeyUsage(std::string_view text) {
    if (const auto named = NamedKey(text)) return named;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        if (const auto n = ParseNumber(text, 0, 0xFF)) return static_cast<std::uint8_t>(*n);
    }
    return std::nullopt;
}

std::string FormatKeyUsage(std::uint8_t usage) {
    if (usage >= kUsageA && usage <= kUsageZ) return std::string(1, static_cast<char>('A' + (usage - kUsageA)));
    if (usage >= kUsageDigit1 && usage < kUsageDigit0) return std::string(1, static_cast<char>('1' + (usage - kUsageDigit1)));
    if (usage == kUsageDigit0) return "0";
    if (usage >= kUsageF1 && usage < kUsageF1 + kFunctionKeys) return "F" + std::to_string(usage - kUsageF1 + 1);
    for (const NamedUsage& key : kNamedKeys) {
        if (key.usage == usage) return key.name;
    }
    char hex[8];
    std::snprintf(hex, sizeof hex, "0x%02X", usage);
    return hex;
}

std::optional<std::uint8_t> ParseModifiers(std::string_view text) {
    if (SameName(text, "none")) return std::uint8_t{0};
    if (const auto n = ParseNumber(text, 0, 0xFF)) return static_cast<std::uint8_t>(*n);
    std::uint8_t bits = 0;
    while (true) {
        const std::size_t plus = text.find('+');
        const std::string_view name = text.substr(0, plus);
        const auto usage = NamedKey(name);
        if (!usage || *usage < kFirstModifierUsage) return std::nullopt;
        bits = static_cast<std::uint8_t>(bits | (1u << (*usage - kFirstModifierUsage)));
        if (plus == std::string_view::npos) return bits;
        text.remove_prefix(plus + 1);
    }
}

std::string FormatModifiers(std::uint8_t modifiers) {
    if (modifiers == 0) return "none";
    std::string text;
    for (int bit = 0; bit < 8; ++bit) {
        if (modifiers & (1u << bit)) {
            if (!text.empty()) text += '+';
            text += FormatKeyUsage(static_cast<std::uint8_t>(kFirstModifierUsage + bit));
        }
    }
    return text;
}

}  // namespace brenik::editing
