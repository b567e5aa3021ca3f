#include "notice_painter_win32.h"

#include <algorithm>
#include <string>

namespace brenik::osd {
namespace {

constexpr COLORREF kPanelColour = RGB(30, 32, 38);
constexpr COLORREF kEdgeColour = RGB(74, 79, 92);
constexpr COLORREF kCaptionColour = RGB(164, 172, 188);
constexpr COLORREF kTextColour = RGB(255, 255, 255);
constexpr COLORREF kBarTrackColour = RGB(66, 70, 82);
constexpr COLORREF kBarFillColour = RGB(86, 164, 255);

constexpr int kCaptionPixels = 15;
constexpr int kTextPixels = 24;
constexpr const char* kFontFace = "Segoe UI";

constexpr UINT kSingleLine = DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS | DT_CENTER | DT_VCENTER;
constexpr UINT kWrapped = DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX | DT_END_ELLIPSIS | DT_CENTER;

HFONT MakeFont(int pixels, int weight) {
    return CreateFontA(-pixels, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS, kFontFace);
}

RECT ToRect(const Rect& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

UINT TextFormat(const Notice& notice) { return notice.Wraps() ? kWrapped : kSingleLine; }

// The size the text takes in the font, wrapped at maxWidth when the format wraps.
Size Measure(HDC dc, HFONT font, const std::string& text, UINT format, int maxWidth) {
    if (text.empty()) return {};
    const win32::SelectedObject selected(dc, font);
    RECT rect{0, 0, maxWidth, 0};
    // Only the flags that decide the lines: measured with DT_VCENTER, Wine gives half the
    // height of a single line, as it centres the text in the empty rectangle first.
    const UINT lines = format & (DT_SINGLELINE | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect, lines | DT_CALCRECT);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

int LineHeight(HDC dc, HFONT font) {
    const win32::SelectedObject selected(dc, font);
    TEXTMETRICA metrics{};
    return GetTextMetricsA(dc, &metrics) ? metrics.tmHeight : kTextPixels;
}

void Fill(HDC dc, const Rect& rect, COLORREF colour) {
    const win32::ScopedBrush brush(CreateSolidBrush(colour));
    const RECT area = ToRect(rect);
    FillRect(dc, &area, brush.Get());
}

void DrawLine(HDC dc, HFONT font, COLORREF colour, const std::string& text, const Rect& rect, UINT format) {
    if (text.empty() || rect.Height() <= 0) return;
    const win32::SelectedObject selected(dc, font);
    SetTextColor(dc, colour);
    RECT area = ToRect(rect);
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &area, format);
}

// A bar with round ends: the track, then the filled part over it.
void DrawBar(HDC dc, const Rect& bar, int percent) {
    const int round = bar.Height();
    const win32::ScopedBrush track(CreateSolidBrush(kBarTrackColour));
    const win32::ScopedBrush fill(CreateSolidBrush(kBarFillColour));
    const win32::SelectedObject noPen(dc, GetStockObject(NULL_PEN));
    {
        const win32::SelectedObject brush(dc, track.Get());
        RoundRect(dc, bar.left, bar.top, bar.right + 1, bar.bottom + 1, round, round);
    }
    const Rect filled = BarFill(bar, percent);
    if (filled.Width() <= 0) return;
    const win32::SelectedObject brush(dc, fill.Get());
    RoundRect(dc, filled.left, filled.top, std::max(filled.right, filled.left + round) + 1, filled.bottom + 1, round,
              round);
}

}  // namespace

NoticePainter::NoticePainter()
    : captionFont_(MakeFont(kCaptionPixels, FW_NORMAL)), textFont_(MakeFont(kTextPixels, FW_SEMIBOLD)) {}

NoticeLayout NoticePainter::Layout(HDC dc, const Notice& notice, const Rect& workArea, int bottomDistance) const {
    const int limit = TextWidthLimit(workArea);
    const Size caption = Measure(dc, captionFont_.Get(), notice.caption, kSingleLine, limit);
    const Size text = Measure(dc, textFont_.Get(), notice.text, TextFormat(notice), limit);
    return LayoutNotice(caption, text, LineHeight(dc, textFont_.Get()), notice.HasBar(), workArea, bottomDistance);
}

win32::ScopedRegion NoticePainter::PanelRegion(const NoticeLayout& layout) {
    // The region's right and bottom edges are exclusive, one more than the panel's last pixel.
    return win32::ScopedRegion(CreateRoundRectRgn(0, 0, layout.panel.Width() + 1, layout.panel.Height() + 1,
                                                  kCornerRadius, kCornerRadius));
}

void NoticePainter::Paint(HDC dc, const Notice& notice, const NoticeLayout& layout) const {
    const int width = layout.panel.Width();
    const int height = layout.panel.Height();
    const win32::ScopedMemoryDc memory(dc);
    const win32::ScopedBitmap bitmap(CreateCompatibleBitmap(dc, width, height));
    if (memory.Get() == nullptr || !bitmap.Valid()) {
        PaintInto(dc, notice, layout);  // straight onto the window, flicker and all
        return;
    }
    const win32::SelectedObject selected(memory.Get(), bitmap.Get());
    PaintInto(memory.Get(), notice, layout);
    BitBlt(dc, 0, 0, width, height, memory.Get(), 0, 0, SRCCOPY);
}

void NoticePainter::PaintInto(HDC dc, const Notice& notice, const NoticeLayout& layout) const {
    const Rect whole{0, 0, layout.panel.Width(), layout.panel.Height()};
    Fill(dc, whole, kPanelColour);
    const win32::ScopedRegion outline(PanelRegion(layout));
    const win32::ScopedBrush edge(CreateSolidBrush(kEdgeColour));
    if (outline.Valid() && edge.Valid()) FrameRgn(dc, outline.Get(), edge.Get(), 1, 1);

    SetBkMode(dc, TRANSPARENT);
    DrawLine(dc, captionFont_.Get(), kCaptionColour, notice.caption, layout.caption, kSingleLine);
    DrawLine(dc, textFont_.Get(), kTextColour, notice.text, layout.text, TextFormat(notice));
    if (notice.HasBar()) DrawBar(dc, layout.bar, notice.barPercent);
}

}  // namespace brenik::osd
