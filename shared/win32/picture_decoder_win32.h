#pragma once
// A BMP, JPEG or GIF picture in memory decoded by the system's picture loader (OLE), as a
// bitmap of our own that outlives the loader's object. The updater's skins and the settings
// program's profile pictures both come through here.

#include "scoped_gdi.h"

#include <windows.h>

#include <cstddef>

namespace brenik::win32 {

bool DecodePicture(const void* bytes, std::size_t byteCount, ScopedBitmap& bitmap, SIZE& size);

}  // namespace brenik::win32
