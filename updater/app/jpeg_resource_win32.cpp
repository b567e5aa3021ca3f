#include "jpeg_resource_win32.h"

#include "debug_output.h"
#include "picture_decoder_win32.h"

namespace brenik::updater {

bool LoadJpegResource(HMODULE module, int id, win32::ScopedBitmap& bitmap, SIZE& size) {
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), L"BINARY");
    if (found == nullptr) {
        DebugPrintf("FW Update: skin picture %d missing\n", id);
        return false;
    }
    HGLOBAL loaded = LoadResource(module, found);
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    const DWORD byteCount = SizeofResource(module, found);
    if (bytes == nullptr || byteCount == 0) return false;

    if (!win32::DecodePicture(bytes, byteCount, bitmap, size)) {
        DebugPrintf("FW Update: skin picture %d cannot be decoded\n", id);
        return false;
    }
    return true;
}

}  // namespace brenik::updater
