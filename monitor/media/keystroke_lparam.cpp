#include "keystroke_lparam.h"

#include "media_key_codes.h"

namespace brenik::monitor::media {
namespace {

constexpr std::uint32_t kRepeatOnce = 1;
constexpr unsigned kScanCodeShift = 16;
constexpr std::uint32_t kExtendedBit = 1u << 24;
constexpr std::uint32_t kWasDownBit = 1u << 30;
constexpr std::uint32_t kReleasedBit = 1u << 31;

std::uint32_t KeyLParam(std::uint8_t virtualKey) {
    std::uint32_t lParam = kRepeatOnce | static_cast<std::uint32_t>(ScanCodeOf(virtualKey)) << kScanCodeShift;
    if (IsArrowKey(virtualKey)) lParam |= kExtendedBit;
    return lParam;
}

}  // namespace

std::uint8_t ScanCodeOf(std::uint8_t virtualKey) {
    switch (virtualKey) {
        case kVkControl: return kScanControl;
        case kVkSpace: return kScanSpace;
        case kVkLeft: return kScanLeft;
        case kVkRight: return kScanRight;
        case kVkN: return kScanN;
        case kVkP: return kScanP;
        case kVkS: return kScanS;
        default: return 0;
    }
}

bool IsArrowKey(std::uint8_t virtualKey) { return virtualKey == kVkLeft || virtualKey == kVkRight; }

std::uint32_t KeyDownLParam(std::uint8_t virtualKey) { return KeyLParam(virtualKey); }

std::uint32_t KeyUpLParam(std::uint8_t virtualKey) { return KeyLParam(virtualKey) | kWasDownBit | kReleasedBit; }

}  // namespace brenik::monitor::media
