#pragma once
// The window outline of a skin: every pixel of the picture that is not the key colour.

#include "scoped_gdi.h"

#include <windows.h>

#include <cstdint>

namespace brenik::updater {

// An empty handle when the picture cannot be drawn.
win32::ScopedRegion MakeSkinRegion(HBITMAP picture, COLORREF key, std::uint8_t tolerance);

// The format of a 32-bit bitmap whose rows run from the top, so its pixels can be read and
// written in reading order (0x00RRGGBB each).
BITMAPINFO TopDown32BitFormat(int width, int height);

}  // namespace brenik::updater
