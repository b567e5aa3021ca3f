#pragma once
// Owners of GDI objects and device contexts, so that an early return leaks none of them.

#include "scoped_owner.h"

#include <windows.h>

namespace brenik::win32 {

// A bitmap, region, font or brush, deleted when it goes.
template <typename T>
struct GdiObjectTraits {
    static T Empty() { return nullptr; }
    static bool Valid(T object) { return object != nullptr; }
    static void Free(T object) { DeleteObject(object); }
};
template <typename T>
using ScopedGdiObject = ScopedOwner<T, GdiObjectTraits<T>>;

using ScopedBitmap = ScopedGdiObject<HBITMAP>;
using ScopedRegion = ScopedGdiObject<HRGN>;
using ScopedFont = ScopedGdiObject<HFONT>;
using ScopedBrush = ScopedGdiObject<HBRUSH>;

// An icon loaded or extracted for this program, destroyed when it goes.
struct IconTraits {
    static HICON Empty() { return nullptr; }
    static bool Valid(HICON icon) { return icon != nullptr; }
    static void Free(HICON icon) { DestroyIcon(icon); }
};
using ScopedIcon = ScopedOwner<HICON, IconTraits>;

// A menu that is not attached to a window, destroyed when it goes.
struct MenuTraits {
    static HMENU Empty() { return nullptr; }
    static bool Valid(HMENU menu) { return menu != nullptr; }
    static void Free(HMENU menu) { DestroyMenu(menu); }
};
using ScopedMenu = ScopedOwner<HMENU, MenuTraits>;

// A memory device context, compatible with another one.
class ScopedMemoryDc {
public:
    explicit ScopedMemoryDc(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
    ~ScopedMemoryDc() {
        if (dc_ != nullptr) DeleteDC(dc_);
    }
    ScopedMemoryDc(const ScopedMemoryDc&) = delete;
    ScopedMemoryDc& operator=(const ScopedMemoryDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HDC dc_;
};

// A window's (or the screen's, with no window) device context, released when it goes.
class ScopedWindowDc {
public:
    explicit ScopedWindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~ScopedWindowDc() {
        if (dc_ != nullptr) ReleaseDC(window_, dc_);
    }
    ScopedWindowDc(const ScopedWindowDc&) = delete;
    ScopedWindowDc& operator=(const ScopedWindowDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// Selects an object into a device context and puts the old one back when it goes.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~SelectedObject() {
        if (old_ != nullptr && old_ != HGDI_ERROR) SelectObject(dc_, old_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

}  // namespace brenik::win32
