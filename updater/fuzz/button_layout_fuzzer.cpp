// The updater's button layout strings ("NAME,x,y,width,height,"), as a skin table may carry
// them: any text, and well-formed layouts with any numbers.
//
// Input: a byte of options; bit 0 set: the text is the rest of the input; else a name piece,
// four 32-bit numbers and a tail piece make a well-formed layout.
//
// Properties:
// - the name is the text before the first comma, at most 39 characters; the trailing text is
//   what follows the last comma;
// - every coordinate stays a 32-bit value whatever the numbers (width and height computed
//   from them never overflow);
// - a well-formed layout reads back exactly, its far edges cut at the 32-bit limits.

#include "button_layout.h"
#include "fuzz_input.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>

namespace {

using brenik::updater::ButtonLayout;
using brenik::updater::kMaxLayoutNameChars;
using brenik::updater::ParseButtonLayout;

std::int32_t Number(brenik::test::FuzzInput& input) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(input.Word()) | static_cast<std::uint32_t>(input.Word()) << 16);
}

std::int32_t ClampedSum(std::int32_t a, std::int32_t b) {
    const long long sum = static_cast<long long>(a) + b;
    return static_cast<std::int32_t>(std::clamp<long long>(sum, std::numeric_limits<std::int32_t>::min(),
                                                           std::numeric_limits<std::int32_t>::max()));
}

void CheckShape(const std::string& text, const ButtonLayout& layout) {
    const std::size_t firstComma = text.find(',');
    FUZZ_CHECK(layout.name.size() <= kMaxLayoutNameChars);
    FUZZ_CHECK(layout.name == text.substr(0, std::min(firstComma, text.size())).substr(0, kMaxLayoutNameChars));
    const std::size_t lastComma = text.rfind(',');
    FUZZ_CHECK(layout.trailing == (lastComma == std::string::npos ? std::string() : text.substr(lastComma + 1)));
    if (firstComma == std::string::npos) FUZZ_CHECK(layout.left == 0 && layout.top == 0 && layout.right == 0 && layout.bottom == 0);
    // Computed under UBSan: an overflow here ends the run.
    const long long width = layout.Width();
    const long long height = layout.Height();
    (void)width;
    (void)height;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    brenik::test::StartInput();
    brenik::test::FuzzInput input(data, size);
    if (input.Flag()) {
        const std::string text(input.Rest());
        CheckShape(text, ParseButtonLayout(text));
        return 0;
    }
    std::string name(input.Piece());
    name.erase(std::remove(name.begin(), name.end(), ','), name.end());
    const std::int32_t x = Number(input);
    const std::int32_t y = Number(input);
    const std::int32_t w = Number(input);
    const std::int32_t h = Number(input);
    std::string tail(input.Rest());
    tail.erase(std::remove(tail.begin(), tail.end(), ','), tail.end());
    const std::string text = name + "," + std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(w) + "," +
                             std::to_string(h) + "," + tail;
    const ButtonLayout layout = ParseButtonLayout(text);
    CheckShape(text, layout);
    FUZZ_CHECK(layout.left == x && layout.top == y);
    FUZZ_CHECK(layout.right == ClampedSum(x, w) && layout.bottom == ClampedSum(y, h));
    FUZZ_CHECK(layout.trailing == tail);
    return 0;
}
