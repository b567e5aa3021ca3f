#pragma once
// Where a notice sits and how its parts are laid out: a panel centred near the bottom of the
// primary screen's work area (above the task bar), as wide as its texts need within limits,
// with the caption on top, the main text below it and, for the volume, a bar at the bottom.
//
// The Windows side measures the texts in its fonts (the main text wrapped to TextWidthLimit
// when it may wrap) and draws into the rectangles given here; all sizes are pixels.

namespace brenik::osd {

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const Rect& other) const {
        return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
    }
};

struct Size {
    int width = 0;
    int height = 0;
};

constexpr int kPaddingX = 24;        // panel edge to text, left and right
constexpr int kPaddingY = 16;        // top and bottom
constexpr int kCaptionGap = 4;       // caption to main text
constexpr int kBarGap = 12;          // main text to bar
constexpr int kBarHeight = 8;
constexpr int kMinPanelWidth = 260;
constexpr int kMaxTextWidth = 560;
constexpr int kScreenMargin = 16;    // the panel keeps this far from the work area's sides
constexpr int kMaxTextLines = 4;     // a longer text message ends in "..."
constexpr int kCornerRadius = 18;

struct NoticeLayout {
    Rect panel;    // on the screen
    Rect caption;  // these three in the panel's own coordinates; empty when absent
    Rect text;
    Rect bar;
};

// The widest the main text may be on this work area.
int TextWidthLimit(const Rect& workArea);

// caption: the caption's measured size ({0, 0} for none); text: the main text's, measured at
// most TextWidthLimit wide; lineHeight: one line of the main text, which holds a wrapped text
// to kMaxTextLines. A text of more than one line gets the whole TextWidthLimit, the width it
// was wrapped at. bottomDistance is held between 0 and the room the work area leaves.
NoticeLayout LayoutNotice(Size caption, Size text, int lineHeight, bool hasBar, const Rect& workArea,
                          int bottomDistance);

// The filled part of the bar for a level of 0..100 (held to that range).
Rect BarFill(const Rect& bar, int percent);

}  // namespace brenik::osd
