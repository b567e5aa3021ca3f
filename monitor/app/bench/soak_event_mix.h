#pragma once
// The soak's mixture of events: what the n-th event is, the same in every run. Most are key
// events as kbhid.dll posts them (message 1325: wParam the class, lParam the sub-code), with
// their sub-codes spread over the valid values and a few outside them; some are 151-byte text
// messages (WM_COPYDATA, a few of a wrong length); some are actions on the virtual keyboard,
// so that the keyboard's own events and the device jobs they start run too.
//
// Left out on purpose: device arrival and removal (each costs a 5 s pause of the window
// thread), launch keys (they start programs), media key 0x20 (it starts the media player
// whenever its window is not found, once per press), and a macro recording's final step
// posted directly (the keyboard's own recording does that, with a macro to read back).

#include <cstddef>
#include <cstdint>
#include <string>

namespace brenik::monitor::test {

enum class SoakGroup {
    kProfileKey,
    kMacroPlayed,
    kMacroRecording,
    kMediaKey,
    kVolume,
    kCountdown,
    kLighting,
    kLayer,
    kWindowsKey,
    kUnknownClass,
    kTextMessage,
    kKeyboardAction,
    kCount
};

const char* SoakGroupName(SoakGroup group);

struct SoakEvent {
    enum class Kind { kKeyEvent, kTextMessage, kKeyboardAction };
    Kind kind = Kind::kKeyEvent;
    SoakGroup group = SoakGroup::kUnknownClass;
    std::uint16_t eventClass = 0;  // kKeyEvent
    std::uint16_t subCode = 0;     // kKeyEvent
    std::size_t textBytes = 0;     // kTextMessage: the block's length
    std::string keyboardWords;     // kKeyboardAction: the words for vkbd.exe
};

SoakEvent SoakEventAt(std::uint32_t index);

// The block of a text message: a short text after the first byte, zero-filled to `bytes`.
std::string SoakTextBlock(std::uint32_t index, std::size_t bytes);

}  // namespace brenik::monitor::test
