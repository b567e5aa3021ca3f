#include "notice_layout.h"

#include <algorithm>

namespace brenik::osd {

int TextWidthLimit(const Rect& workArea) {
    const int room = workArea.Width() - 2 * (kScreenMargin + kPaddingX);
    return std::max(1, std::min(kMaxTextWidth, room));
}

NoticeLayout LayoutNotice(Size caption, Size text, int lineHeight, bool hasBar, const Rect& workArea,
                          int bottomDistance) {
    const int limit = TextWidthLimit(workArea);
    const int line = std::max(lineHeight, 1);
    // A text that wrapped keeps the whole width it was wrapped at: its widest line, as
    // measured, leaves out the blank at the break, and drawn that narrow the lines break
    // earlier and the last one is lost.
    const int textWidth = text.height > line ? limit : std::clamp(text.width, 0, limit);
    const int textHeight = std::clamp(text.height, 0, line * kMaxTextLines);
    const int captionWidth = std::clamp(caption.width, 0, limit);
    const int captionHeight = std::max(caption.height, 0);

    const int width = std::max(kMinPanelWidth, std::max(textWidth, captionWidth) + 2 * kPaddingX);
    const int innerWidth = width - 2 * kPaddingX;
    NoticeLayout layout;
    int y = kPaddingY;
    if (captionHeight > 0) {
        layout.caption = {kPaddingX, y, kPaddingX + innerWidth, y + captionHeight};
        y = layout.caption.bottom + kCaptionGap;
    }
    layout.text = {kPaddingX, y, kPaddingX + innerWidth, y + textHeight};
    y = layout.text.bottom;
    if (hasBar) {
        layout.bar = {kPaddingX, y + kBarGap, kPaddingX + innerWidth, y + kBarGap + kBarHeight};
        y = layout.bar.bottom;
    }
    const int height = y + kPaddingY;

    // Centred on the work area; never above its top, even when asked to sit higher than fits.
    const int left = workArea.left + std::max(0, (workArea.Width() - width) / 2);
    const int distance = std::clamp(bottomDistance, 0, std::max(0, workArea.Height() - height));
    const int bottom = workArea.bottom - distance;
    layout.panel = {left, bottom - height, left + width, bottom};
    return layout;
}

Rect BarFill(const Rect& bar, int percent) {
    Rect fill = bar;
    fill.right = bar.left + bar.Width() * std::clamp(percent, 0, 100) / 100;
    return fill;
}

}  // namespace brenik::osd
