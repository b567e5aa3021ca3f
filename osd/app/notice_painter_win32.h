#pragma once
// NoticePainter: a notice's looks on GDI. A dark panel with rounded corners and a thin edge,
// the caption in small grey letters, the main text in large white ones, and for the volume a
// bar. It measures the texts in its fonts for the layout (notice_layout.h) and draws into the
// rectangles the layout gives, through an off-screen bitmap so that nothing flickers.

#include "notice.h"
#include "notice_layout.h"
#include "scoped_gdi.h"

#include <windows.h>

namespace brenik::osd {

class NoticePainter {
public:
    NoticePainter();
    NoticePainter(const NoticePainter&) = delete;
    NoticePainter& operator=(const NoticePainter&) = delete;

    // Measures the notice on a device context of the screen and lays it out on the work area.
    NoticeLayout Layout(HDC dc, const Notice& notice, const Rect& workArea, int bottomDistance) const;

    // The panel's outline, for the window's region: only the rounded panel is the window.
    static win32::ScopedRegion PanelRegion(const NoticeLayout& layout);

    // Draws the whole panel at the window's origin.
    void Paint(HDC dc, const Notice& notice, const NoticeLayout& layout) const;

private:
    void PaintInto(HDC dc, const Notice& notice, const NoticeLayout& layout) const;

    win32::ScopedFont captionFont_;
    win32::ScopedFont textFont_;
};

}  // namespace brenik::osd
