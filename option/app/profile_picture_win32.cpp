#include "profile_picture_win32.h"

#include "picture_decoder_win32.h"
#include "scoped_handle.h"

#include <vector>

namespace brenik::option {
namespace {

// A profile picture is a small image; anything larger is not read into memory.
constexpr DWORD kMaxPictureBytes = 32u * 1024u * 1024u;

bool ReadFileBytes(const std::wstring& path, std::vector<unsigned char>& bytes) {
    win32::ScopedHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return false;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart <= 0 || size.QuadPart > kMaxPictureBytes) return false;
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    return ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) && read == bytes.size();
}

}  // namespace

void ProfilePicture::Show(const std::wstring& path) {
    if (path == path_) return;
    path_ = path;
    bitmap_.Reset();
    std::vector<unsigned char> bytes;
    if (path.empty() || !ReadFileBytes(path, bytes)) return;
    win32::DecodePicture(bytes.data(), bytes.size(), bitmap_, size_);
}

void ProfilePicture::Draw(HDC dc, const RECT& box, const std::wstring& none) const {
    FillRect(dc, &box, GetSysColorBrush(COLOR_BTNFACE));
    FrameRect(dc, &box, GetSysColorBrush(COLOR_BTNSHADOW));
    if (!bitmap_.Valid() || size_.cx <= 0 || size_.cy <= 0) {
        RECT text = box;
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        DrawTextW(dc, none.c_str(), -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
        return;
    }
    const int boxWidth = box.right - box.left - 2;
    const int boxHeight = box.bottom - box.top - 2;
    // Fit inside the box, keeping the picture's proportions.
    int width = boxWidth;
    int height = MulDiv(size_.cy, boxWidth, size_.cx);
    if (height > boxHeight) {
        height = boxHeight;
        width = MulDiv(size_.cx, boxHeight, size_.cy);
    }
    const int x = box.left + 1 + (boxWidth - width) / 2;
    const int y = box.top + 1 + (boxHeight - height) / 2;
    win32::ScopedMemoryDc source(dc);
    win32::SelectedObject selected(source.Get(), bitmap_.Get());
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, x, y, width, height, source.Get(), 0, 0, size_.cx, size_.cy, SRCCOPY);
}

}  // namespace brenik::option
