#include "key_stroke_win32.h"

#include "macro_recorder.h"

namespace brenik::option {
namespace {

constexpr WORD kLastScanCode = 0x7F;
constexpr UINT kExtendedPrefix = 0xE000;  // MapVirtualKey's mark of an extended scan code

}  // namespace

KeyStrokeTable::KeyStrokeTable() {
    for (int extended = 0; extended < 2; ++extended) {
        for (WORD scan = 1; scan <= kLastScanCode; ++scan) {
            const UINT code = extended != 0 ? (kExtendedPrefix | scan) : scan;
            const WORD virtualKey = static_cast<WORD>(MapVirtualKeyW(code, MAPVK_VSC_TO_VK_EX));
            const std::optional<std::uint8_t> usage = UsageOfKey(virtualKey, scan, extended != 0);
            if (usage && !strokes_[*usage]) strokes_[*usage] = KeyStroke{virtualKey, scan, extended != 0};
        }
    }
    for (WORD virtualKey = 1; virtualKey < 0xFF; ++virtualKey) {
        const std::optional<std::uint8_t> usage = UsageOfKey(virtualKey, 0, false);
        if (usage && !strokes_[*usage]) strokes_[*usage] = KeyStroke{virtualKey, 0, false};
    }
}

INPUT KeyInput(const KeyStroke& stroke, bool down) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = stroke.virtualKey;
    input.ki.wScan = stroke.scanCode;
    input.ki.dwFlags = (down ? 0 : KEYEVENTF_KEYUP) | (stroke.extended ? KEYEVENTF_EXTENDEDKEY : 0);
    if (stroke.scanCode != 0) input.ki.dwFlags |= KEYEVENTF_SCANCODE;
    return input;
}

}  // namespace brenik::option
