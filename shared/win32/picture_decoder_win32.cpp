#include "picture_decoder_win32.h"

#include <ole2.h>
#include <olectl.h>

#include <cstring>
#include <limits>

namespace brenik::win32 {
namespace {

template <typename T>
struct ComReleaser {
    explicit ComReleaser(T* object) : object(object) {}
    ~ComReleaser() {
        if (object != nullptr) object->Release();
    }
    ComReleaser(const ComReleaser&) = delete;
    ComReleaser& operator=(const ComReleaser&) = delete;
    T* object;
};

// A movable global block holding a copy of the bytes; null on failure.
HGLOBAL CopyToGlobal(const void* bytes, std::size_t size) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (block == nullptr) return nullptr;
    void* target = GlobalLock(block);
    if (target == nullptr) {
        GlobalFree(block);
        return nullptr;
    }
    std::memcpy(target, bytes, size);
    GlobalUnlock(block);
    return block;
}

}  // namespace

bool DecodePicture(const void* bytes, std::size_t byteCount, ScopedBitmap& bitmap, SIZE& size) {
    if (bytes == nullptr || byteCount == 0 || byteCount > static_cast<std::size_t>(std::numeric_limits<LONG>::max())) {
        return false;
    }
    HGLOBAL block = CopyToGlobal(bytes, byteCount);
    if (block == nullptr) return false;
    IStream* rawStream = nullptr;
    // The stream frees the block when it is released.
    if (FAILED(CreateStreamOnHGlobal(block, TRUE, &rawStream))) {
        GlobalFree(block);
        return false;
    }
    ComReleaser<IStream> stream(rawStream);
    IPicture* rawPicture = nullptr;
    if (FAILED(OleLoadPicture(stream.object, static_cast<LONG>(byteCount), FALSE, IID_IPicture,
                              reinterpret_cast<void**>(&rawPicture)))) {
        return false;
    }
    ComReleaser<IPicture> picture(rawPicture);
    OLE_HANDLE handle = 0;
    short type = PICTYPE_UNINITIALIZED;
    if (FAILED(picture.object->get_Type(&type)) || type != PICTYPE_BITMAP) return false;
    if (FAILED(picture.object->get_Handle(&handle)) || handle == 0) return false;
    // The picture object owns its bitmap; keep a copy of our own that outlives it.
    HBITMAP copy = static_cast<HBITMAP>(
        CopyImage(reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(handle)), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (copy == nullptr) return false;
    BITMAP info{};
    GetObjectW(copy, sizeof info, &info);
    bitmap.Reset(copy);
    size = SIZE{info.bmWidth, info.bmHeight};
    return true;
}

}  // namespace brenik::win32
