#include "skin_region_win32.h"

#include "skin_runs.h"

#include <vector>

namespace brenik::updater {

namespace {

// Turns one batch of rectangles into a region.
HRGN RegionOf(const std::vector<RunRect>& runs) {
    std::vector<BYTE> data(sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT));
    auto* header = reinterpret_cast<RGNDATAHEADER*>(data.data());
    header->dwSize = sizeof(RGNDATAHEADER);
    header->iType = RDH_RECTANGLES;
    header->nCount = static_cast<DWORD>(runs.size());
    header->nRgnSize = static_cast<DWORD>(runs.size() * sizeof(RECT));
    RECT bounds = {LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
    auto* rects = reinterpret_cast<RECT*>(data.data() + sizeof(RGNDATAHEADER));
    for (std::size_t i = 0; i < runs.size(); ++i) {
        rects[i] = RECT{runs[i].left, runs[i].top, runs[i].right, runs[i].bottom};
        bounds.left = std::min(bounds.left, rects[i].left);
        bounds.top = std::min(bounds.top, rects[i].top);
        bounds.right = std::max(bounds.right, rects[i].right);
        bounds.bottom = std::max(bounds.bottom, rects[i].bottom);
    }
    header->rcBound = runs.empty() ? RECT{0, 0, 0, 0} : bounds;
    return ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), reinterpret_cast<RGNDATA*>(data.data()));
}

}  // namespace

BITMAPINFO TopDown32BitFormat(int width, int height) {
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;  // negative: the first row is the top one
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    return format;
}

win32::ScopedRegion MakeSkinRegion(HBITMAP picture, COLORREF key, std::uint8_t tolerance) {
    BITMAP info{};
    if (picture == nullptr || GetObjectW(picture, sizeof info, &info) == 0 || info.bmWidth <= 0 || info.bmHeight <= 0) {
        return win32::ScopedRegion();
    }
    const int width = info.bmWidth;
    const int height = info.bmHeight;

    // Draw the picture into a 32-bit top-down bitmap whose pixels we can read.
    const BITMAPINFO format = TopDown32BitFormat(width, height);
    win32::ScopedWindowDc screen(nullptr);
    void* bits = nullptr;
    win32::ScopedBitmap canvas(CreateDIBSection(screen.Get(), &format, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!canvas.Valid() || bits == nullptr) return win32::ScopedRegion();
    {
        win32::ScopedMemoryDc source(screen.Get());
        win32::ScopedMemoryDc target(screen.Get());
        win32::SelectedObject sourcePicture(source.Get(), picture);
        win32::SelectedObject targetCanvas(target.Get(), canvas.Get());
        if (!BitBlt(target.Get(), 0, 0, width, height, source.Get(), 0, 0, SRCCOPY)) return win32::ScopedRegion();
        GdiFlush();
    }

    // DIB pixels are 0x00RRGGBB; COLORREF is 0x00BBGGRR.
    const std::uint32_t keyRgb = (GetRValue(key) << 16) | (GetGValue(key) << 8) | GetBValue(key);
    win32::ScopedRegion result;
    bool failed = false;
    CollectSkinRuns(static_cast<const std::uint32_t*>(bits), width, height, keyRgb, tolerance,
                    [&](const std::vector<RunRect>& batch) {
                        if (batch.empty() || failed) return;
                        win32::ScopedRegion part(RegionOf(batch));
                        if (!part.Valid()) {
                            failed = true;
                            return;
                        }
                        if (!result.Valid()) {
                            result = std::move(part);
                        } else {
                            CombineRgn(result.Get(), result.Get(), part.Get(), RGN_OR);
                        }
                    });
    if (failed) return win32::ScopedRegion();
    return result;
}

}  // namespace brenik::updater
