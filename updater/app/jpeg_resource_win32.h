#pragma once
// A skin picture: a JPEG stored as a "BINARY" resource of the program, decoded by the
// system's picture loader.

#include "scoped_gdi.h"

#include <windows.h>

namespace brenik::updater {

// On success the bitmap holds the picture and size its width and height in pixels. A
// missing or undecodable resource leaves the bitmap and size as they were and returns false.
bool LoadJpegResource(HMODULE module, int id, win32::ScopedBitmap& bitmap, SIZE& size);

}  // namespace brenik::updater
