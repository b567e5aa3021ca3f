#include "button_layout.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace brenik::updater {

namespace {

using Limits = std::numeric_limits<std::int32_t>;

std::int32_t Clamp(long long value) {
    if (value < Limits::min()) return Limits::min();
    if (value > Limits::max()) return Limits::max();
    return static_cast<std::int32_t>(value);
}

// Reads a decimal integer at text[pos] and moves past it and one comma after it. Returns
// false (pos unchanged) when there is no number there.
bool ReadNumber(const std::string& text, std::size_t& pos, long long& value) {
    if (pos >= text.size()) return false;
    const char* begin = text.c_str() + pos;
    char* end = nullptr;
    // strtoll saturates on overflow; Clamp does the rest.
    const long long read = std::strtoll(begin, &end, 10);
    if (end == begin) return false;
    value = read;
    pos += static_cast<std::size_t>(end - begin);
    if (pos < text.size() && text[pos] == ',') ++pos;
    return true;
}

}  // namespace

ButtonLayout ParseButtonLayout(const std::string& text) {
    ButtonLayout layout;
    const std::size_t firstComma = text.find(',');
    layout.name = text.substr(0, std::min(firstComma, text.size())).substr(0, kMaxLayoutNameChars);
    const std::size_t lastComma = text.rfind(',');
    if (lastComma != std::string::npos) layout.trailing = text.substr(lastComma + 1);
    if (firstComma == std::string::npos) return layout;

    long long numbers[4] = {0, 0, 0, 0};
    std::size_t pos = firstComma + 1;
    for (long long& number : numbers) {
        if (!ReadNumber(text, pos, number)) break;
    }
    layout.left = Clamp(numbers[0]);
    layout.top = Clamp(numbers[1]);
    layout.right = Clamp(static_cast<long long>(layout.left) + Clamp(numbers[2]));
    layout.bottom = Clamp(static_cast<long long>(layout.top) + Clamp(numbers[3]));
    return layout;
}

}  // namespace brenik::updater
