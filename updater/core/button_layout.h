#pragma once
// A skinned button's place on its dialog, from a layout string "NAME,x,y,width,height," (the
// trailing comma may be missing). Missing or bad numbers read as 0, giving a button of no
// size that cannot be seen or clicked.

#include <cstdint>
#include <string>

namespace brenik::updater {

constexpr std::size_t kMaxLayoutNameChars = 39;

struct ButtonLayout {
    std::string name;          // the text before the first comma, at most 39 characters
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;    // left + width
    std::int32_t bottom = 0;   // top + height
    std::string trailing;      // the text after the last comma; not shown anywhere

    std::int32_t Width() const { return right - left; }
    std::int32_t Height() const { return bottom - top; }
};

ButtonLayout ParseButtonLayout(const std::string& text);

}  // namespace brenik::updater
