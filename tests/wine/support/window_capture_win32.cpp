#include "window_capture.h"

#include "scoped_gdi.h"

#include <cstdio>
#include <vector>

namespace brenik::test {

bool SaveScreenRect(const RECT& rect, const std::string& bmpPath) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return false;
    win32::ScopedWindowDc screen(nullptr);
    win32::ScopedMemoryDc memory(screen.Get());
    win32::ScopedBitmap bitmap(CreateCompatibleBitmap(screen.Get(), width, height));
    if (memory.Get() == nullptr || !bitmap.Valid()) return false;
    bool copied = false;
    {
        win32::SelectedObject selected(memory.Get(), bitmap.Get());
        copied = BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), rect.left, rect.top, SRCCOPY) != FALSE;
    }

    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;  // bottom-up, as BMP files store it
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    const int stride = ((width * 3 + 3) / 4) * 4;
    std::vector<BYTE> pixels(static_cast<std::size_t>(stride) * static_cast<std::size_t>(height));
    const bool read = copied && GetDIBits(memory.Get(), bitmap.Get(), 0, static_cast<UINT>(height), pixels.data(),
                                          reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS) == height;
    if (!read) return false;

    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    std::FILE* out = std::fopen(bmpPath.c_str(), "wb");
    if (out == nullptr) return false;
    bool ok = std::fwrite(&file, sizeof file, 1, out) == 1 && std::fwrite(&header, sizeof header, 1, out) == 1 &&
              std::fwrite(pixels.data(), 1, pixels.size(), out) == pixels.size();
    ok = std::fclose(out) == 0 && ok;
    return ok;
}

bool SaveWindowImage(HWND window, const std::string& bmpPath) {
    RECT rect;
    if (!GetWindowRect(window, &rect)) return false;
    return SaveScreenRect(rect, bmpPath);
}

bool SaveScreenImage(const std::string& bmpPath) {
    const RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return SaveScreenRect(screen, bmpPath);
}

}  // namespace brenik::test
