// Decoding message 1324 as the monitor sends it, and refusing what it never sends.

#include "notice_request.h"

#include "debug_capture.h"
#include "peer_messages.h"

#include <gtest/gtest.h>

namespace brenik::osd {
namespace {

struct Row {
    std::uintptr_t wParam;
    std::uint32_t lParam;
    NoticeKind kind;
    int value;
};

TEST(DecodeShowMessage, TakesEachKindWithItsValue) {
    const Row rows[] = {
        {kOsdKindProfile, 0u << 16, NoticeKind::kProfile, 0},
        {kOsdKindProfile, 4u << 16, NoticeKind::kProfile, 4},
        {kOsdKindProfile, (2u << 16) | 0x1234, NoticeKind::kProfile, 2},  // the low half carries nothing
        {kOsdKindMessage, 0, NoticeKind::kMessage, 0},
        {kOsdKindMacro, 0, NoticeKind::kMacro, 0},
        {kOsdKindWindowsKey, 255u << 16, NoticeKind::kWindowsKey, 1},  // locked
        {kOsdKindWindowsKey, 1u << 16, NoticeKind::kWindowsKey, 0},    // free
        {kOsdKindVolume, 0, NoticeKind::kVolume, 0},
        {kOsdKindVolume, 100, NoticeKind::kVolume, 100},
    };
    for (const Row& row : rows) {
        const auto request = DecodeShowMessage(row.wParam, row.lParam);
        ASSERT_TRUE(request.has_value()) << row.wParam << " " << row.lParam;
        EXPECT_EQ(request->kind, row.kind) << row.wParam << " " << row.lParam;
        EXPECT_EQ(request->value, row.value) << row.wParam << " " << row.lParam;
    }
}

TEST(DecodeShowMessage, RefusesWhatTheMonitorNeverSendsAndSaysSo) {
    const std::pair<std::uintptr_t, std::uint32_t> refused[] = {
        {kOsdKindProfile, 5u << 16},       // there are five profiles
        {kOsdKindProfile, 0xFFFFu << 16},  // -1 shifted
        {kOsdKindWindowsKey, 7u << 16},    // neither locked nor free
        {kOsdKindWindowsKey, 1},           // the byte belongs in the high half
        {kOsdKindVolume, 101},
        {kOsdKindVolume, 50u << 16},
        {0, 0},
        {41, 0},
    };
    for (const auto& [wParam, lParam] : refused) {
        test::ClearDebugLines();
        EXPECT_FALSE(DecodeShowMessage(wParam, lParam).has_value()) << wParam << " " << lParam;
        EXPECT_TRUE(test::DebugLinesContain("Brenik OSD refused message 1324")) << wParam << " " << lParam;
    }
}

}  // namespace
}  // namespace brenik::osd
