#pragma once
// The window outline of a skin: every pixel of the picture that is not the key colour.

#include "scoped_gdi.h"

#include <windows.h>

#include <cstdint>

namespace brenik::updater {

// An empty handle when the picture cannot be drawn.
win32::ScopedRegion MakeSkinRegion(HBITMAP picture, COLORREF key, std::uint8_t tolerance);

}  // namespace brenik::updater
