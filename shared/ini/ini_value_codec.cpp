#include "ini_value_codec.h"

#include <cstdio>

namespace brenik::ini {
namespace {

constexpr std::size_t kIntReadChars = 29;
constexpr char kHexDigits[] = "0123456789ABCDEF";

int DigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
    if (c >= 'a' && c <= 'z') return c - 'a' + 10;
    return -1;
}

// Hex digit values by byte, -1 for the rest: struct values are most of a profile file's
// text, so this lookup is the hot loop of a profile load.
struct HexTable {
    signed char value[256];
    constexpr HexTable() : value() {
        for (int c = 0; c < 256; ++c) {
            value[c] = c >= '0' && c <= '9'   ? static_cast<signed char>(c - '0')
                       : c >= 'A' && c <= 'F' ? static_cast<signed char>(c - 'A' + 10)
                       : c >= 'a' && c <= 'f' ? static_cast<signed char>(c - 'a' + 10)
                                              : static_cast<signed char>(-1);
        }
    }
};
constexpr HexTable kHex;

int HexValue(char c) { return kHex.value[static_cast<unsigned char>(c)]; }

}  // namespace

std::string CutToReadLimit(std::string_view text) {
    return std::string(text.substr(0, kMaxStringChars));
}

int ParseInt(std::string_view text) {
    text = text.substr(0, kIntReadChars);
    std::size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    unsigned base = 10;
    if (i + 1 < text.size() && text[i] == '0') {
        switch (text[i + 1]) {
            case 'x': base = 16; break;
            case 'o': base = 8; break;
            case 'b': base = 2; break;
            default: break;
        }
        if (base != 10) i += 2;
    }
    std::uint32_t total = 0;  // unsigned, so overflow wraps as the platform's does
    for (; i < text.size(); ++i) {
        const int digit = DigitValue(text[i]);
        if (digit < 0 || static_cast<unsigned>(digit) >= base) break;
        total = total * base + static_cast<std::uint32_t>(digit);
    }
    if (negative) total = 0u - total;
    return static_cast<int>(total);
}

std::string FormatInt(int value) {
    char text[256];
    std::snprintf(text, sizeof text, "%d", value);
    return text;
}

std::string EncodeStruct(const std::uint8_t* data, std::size_t size) {
    std::string text;
    text.reserve(2 * size + 2);
    unsigned sum = 0;
    for (std::size_t i = 0; i < size; ++i) {
        text += kHexDigits[data[i] >> 4];
        text += kHexDigits[data[i] & 0x0F];
        sum += data[i];
    }
    text += kHexDigits[(sum >> 4) & 0x0F];
    text += kHexDigits[sum & 0x0F];
    return text;
}

bool DecodeStruct(std::string_view text, std::uint8_t* dest, std::size_t size) {
    if (text.size() != 2 * size + 2) return false;
    const auto byteAt = [&](std::size_t i) {
        const int high = HexValue(text[2 * i]);
        const int low = HexValue(text[2 * i + 1]);
        return high < 0 || low < 0 ? -1 : high << 4 | low;
    };
    // Check everything before writing anything: a failed read leaves the caller's record as it was.
    unsigned sum = 0;
    for (std::size_t i = 0; i <= size; ++i) {
        const int byte = byteAt(i);
        if (byte < 0) return false;
        if (i < size) sum += static_cast<unsigned>(byte);
    }
    if ((sum & 0xFF) != static_cast<unsigned>(byteAt(size))) return false;
    for (std::size_t i = 0; i < size; ++i) dest[i] = static_cast<std::uint8_t>(byteAt(i));
    return true;
}

}  // namespace brenik::ini
