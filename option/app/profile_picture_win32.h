#pragma once
// A profile's picture (its PictureFile), read from the file and drawn scaled into the
// column's box. Kept per path, so a repaint does not read the file again.

#include "scoped_gdi.h"

#include <windows.h>

#include <string>

namespace brenik::option {

class ProfilePicture {
public:
    // Reads and decodes the file when the path differs from the one shown; an empty path,
    // a missing, too large or undecodable file leave no picture.
    void Show(const std::wstring& path);
    // The picture scaled to fit the box, centred; otherwise the words `none` on a plain box.
    void Draw(HDC dc, const RECT& box, const std::wstring& none) const;
    bool Loaded() const { return bitmap_.Valid(); }

private:
    std::wstring path_;
    win32::ScopedBitmap bitmap_;
    SIZE size_{};
};

}  // namespace brenik::option
