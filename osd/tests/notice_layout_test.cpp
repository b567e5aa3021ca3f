// Where the panel sits on the work area, and how its parts stack.

#include "notice_layout.h"

#include <gtest/gtest.h>

namespace brenik::osd {
namespace {

const Rect kWorkArea{0, 0, 1024, 738};  // a 1024x768 screen above a 30-pixel task bar
constexpr int kLine = 28;

TEST(NoticeLayout, SitsCentredAboveTheBottomOfTheWorkArea) {
    const NoticeLayout layout = LayoutNotice({90, 18}, {300, kLine}, kLine, false, kWorkArea, 80);
    EXPECT_EQ(layout.panel.Width(), 300 + 2 * kPaddingX);
    EXPECT_EQ(layout.panel.left, (1024 - layout.panel.Width()) / 2);
    EXPECT_EQ(layout.panel.bottom, 738 - 80);
    EXPECT_EQ(layout.panel.Height(), kPaddingY + 18 + kCaptionGap + kLine + kPaddingY);
    // Caption on top, text under it, inside the padding, in the panel's own coordinates.
    EXPECT_EQ(layout.caption, (Rect{kPaddingX, kPaddingY, kPaddingX + 300, kPaddingY + 18}));
    EXPECT_EQ(layout.text.top, layout.caption.bottom + kCaptionGap);
    EXPECT_EQ(layout.text.bottom + kPaddingY, layout.panel.Height());
    EXPECT_EQ(layout.bar.Height(), 0);
}

TEST(NoticeLayout, WorkAreaAwayFromTheOriginIsHonoured) {
    const Rect workArea{200, 40, 1224, 808};  // task bar on top, screen to the right of another
    const NoticeLayout layout = LayoutNotice({0, 0}, {100, kLine}, kLine, false, workArea, 10);
    EXPECT_EQ(layout.panel.left, 200 + (1024 - kMinPanelWidth) / 2);
    EXPECT_EQ(layout.panel.bottom, 798);
}

TEST(NoticeLayout, NoCaptionMeansTheTextStartsAtThePadding) {
    const NoticeLayout layout = LayoutNotice({0, 0}, {120, kLine}, kLine, false, kWorkArea, 80);
    EXPECT_EQ(layout.caption.Height(), 0);
    EXPECT_EQ(layout.text.top, kPaddingY);
    EXPECT_EQ(layout.panel.Width(), kMinPanelWidth) << "a short text still gets a panel of readable size";
}

TEST(NoticeLayout, WidthAndLinesAreHeldToTheLimits) {
    const NoticeLayout wide = LayoutNotice({0, 0}, {5000, 9 * kLine}, kLine, false, kWorkArea, 80);
    EXPECT_EQ(wide.text.Width(), kMaxTextWidth);
    EXPECT_EQ(wide.text.Height(), kMaxTextLines * kLine);

    const Rect narrow{0, 0, 400, 300};
    EXPECT_EQ(TextWidthLimit(narrow), 400 - 2 * (kScreenMargin + kPaddingX));
    const NoticeLayout small = LayoutNotice({0, 0}, {5000, kLine}, kLine, false, narrow, 80);
    EXPECT_GE(small.panel.left, kScreenMargin);
    EXPECT_LE(small.panel.right, 400 - kScreenMargin);
}

TEST(NoticeLayout, AWrappedTextKeepsTheWidthItWasWrappedAt) {
    // Two lines measured at the limit, the widest 446 wide: drawn 446 wide they would break
    // earlier and lose their end.
    const NoticeLayout wrapped = LayoutNotice({60, 18}, {446, 2 * kLine}, kLine, false, kWorkArea, 80);
    EXPECT_EQ(wrapped.text.Width(), TextWidthLimit(kWorkArea));
    EXPECT_EQ(wrapped.text.Height(), 2 * kLine);
    const NoticeLayout single = LayoutNotice({60, 18}, {446, kLine}, kLine, false, kWorkArea, 80);
    EXPECT_EQ(single.text.Width(), 446);
}

TEST(NoticeLayout, DistanceBeyondTheRoomPutsThePanelAtTheTop) {
    const NoticeLayout high = LayoutNotice({90, 18}, {200, kLine}, kLine, true, kWorkArea, 0x9000);
    EXPECT_EQ(high.panel.top, 0);
    const NoticeLayout low = LayoutNotice({90, 18}, {200, kLine}, kLine, true, kWorkArea, -50);
    EXPECT_EQ(low.panel.bottom, 738);
}

TEST(NoticeLayout, VolumeBarSpansTheInnerWidthUnderTheText) {
    const NoticeLayout layout = LayoutNotice({60, 18}, {50, kLine}, kLine, true, kWorkArea, 80);
    EXPECT_EQ(layout.bar.top, layout.text.bottom + kBarGap);
    EXPECT_EQ(layout.bar.Height(), kBarHeight);
    EXPECT_EQ(layout.bar.left, kPaddingX);
    EXPECT_EQ(layout.bar.right, layout.panel.Width() - kPaddingX);
    EXPECT_EQ(layout.bar.bottom + kPaddingY, layout.panel.Height());

    const Rect bar{10, 50, 210, 58};
    EXPECT_EQ(BarFill(bar, 0).Width(), 0);
    EXPECT_EQ(BarFill(bar, 42).Width(), 84);
    EXPECT_EQ(BarFill(bar, 100), bar);
    EXPECT_EQ(BarFill(bar, 250), bar);
}

}  // namespace
}  // namespace brenik::osd
