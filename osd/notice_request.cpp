#include "notice_request.h"

#include "debug_output.h"
#include "peer_messages.h"
#include "profile_record.h"

namespace brenik::osd {
namespace {

std::optional<NoticeRequest> Refuse(std::uintptr_t wParam, std::uint32_t lParam, const char* why) {
    DebugPrintf("Brenik OSD refused message %u (kind %llu, value 0x%08lX): %s\n", kMsgOsdShow,
                static_cast<unsigned long long>(wParam), static_cast<unsigned long>(lParam), why);
    return std::nullopt;
}

}  // namespace

std::optional<NoticeRequest> DecodeShowMessage(std::uintptr_t wParam, std::uint32_t lParam) {
    const std::uint32_t high = lParam >> 16;
    switch (wParam) {
        case kOsdKindProfile:
            if (high >= static_cast<std::uint32_t>(kProfileCount)) return Refuse(wParam, lParam, "no such profile");
            return NoticeRequest{NoticeKind::kProfile, static_cast<int>(high)};
        case kOsdKindMessage:
            return NoticeRequest{NoticeKind::kMessage, 0};
        case kOsdKindMacro:
            return NoticeRequest{NoticeKind::kMacro, 0};
        case kOsdKindWindowsKey:
            if (high == kWindowsKeyLockedByte) return NoticeRequest{NoticeKind::kWindowsKey, 1};
            if (high == kWindowsKeyFreeByte) return NoticeRequest{NoticeKind::kWindowsKey, 0};
            return Refuse(wParam, lParam, "the key byte is neither locked (255) nor free (1)");
        case kOsdKindVolume:
            if (lParam > static_cast<std::uint32_t>(kMaxVolume)) return Refuse(wParam, lParam, "volume above 100");
            return NoticeRequest{NoticeKind::kVolume, static_cast<int>(lParam)};
        default:
            return Refuse(wParam, lParam, "unknown kind");
    }
}

}  // namespace brenik::osd
