#pragma once
// What a message 1324 (kMsgOsdShow) from the monitor asks the display to show. wParam is the
// kind; lParam carries its value as peer_messages.h gives it:
// - profile (40): the new profile index 0..4 in bits 16..31;
// - text message (50) and macro (70): nothing, the texts are in config.ini;
// - Windows key (80): the keyboard's key byte in bits 16..31. The keyboard sends 255 when the
//   Windows key was locked (the monitor then sets the profile's RightWin, one of its locked-key
//   flags, to 1) and 1 when it was freed again (RightWin back to 0);
// - volume (160): the level 0..100.
// A kind or value outside these is refused with a debugger line: the display shows nothing
// rather than a notice it cannot word.

#include <cstdint>
#include <optional>

namespace brenik::osd {

enum class NoticeKind { kProfile, kMessage, kMacro, kWindowsKey, kVolume };

constexpr std::uint8_t kWindowsKeyLockedByte = 255;
constexpr std::uint8_t kWindowsKeyFreeByte = 1;
constexpr int kMaxVolume = 100;

struct NoticeRequest {
    NoticeKind kind;
    // profile: index 0..4; Windows key: 1 locked, 0 free; volume: 0..100; otherwise 0.
    int value = 0;
};

// The lParam is taken as its low 32 bits, which is all the monitor sends.
std::optional<NoticeRequest> DecodeShowMessage(std::uintptr_t wParam, std::uint32_t lParam);

}  // namespace brenik::osd
