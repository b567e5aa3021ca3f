#pragma once
// Owners of GDI objects and device contexts, so that an early return leaks none of them.

#include <windows.h>

#include <utility>

namespace brenik::updater {

// A bitmap, region, font or brush, deleted when it goes.
template <typename T>
class ScopedGdiObject {
public:
    ScopedGdiObject() = default;
    explicit ScopedGdiObject(T object) : object_(object) {}
    ~ScopedGdiObject() { Reset(); }
    ScopedGdiObject(ScopedGdiObject&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    ScopedGdiObject& operator=(ScopedGdiObject&& other) noexcept {
        if (this != &other) {
            Reset();
            object_ = std::exchange(other.object_, nullptr);
        }
        return *this;
    }
    ScopedGdiObject(const ScopedGdiObject&) = delete;
    ScopedGdiObject& operator=(const ScopedGdiObject&) = delete;

    T Get() const { return object_; }
    bool Valid() const { return object_ != nullptr; }
    // Gives up ownership, e.g. of a region handed to a window.
    T Release() { return std::exchange(object_, nullptr); }
    void Reset(T object = nullptr) {
        if (object_ != nullptr) DeleteObject(object_);
        object_ = object;
    }

private:
    T object_ = nullptr;
};

using ScopedBitmap = ScopedGdiObject<HBITMAP>;
using ScopedRegion = ScopedGdiObject<HRGN>;
using ScopedFont = ScopedGdiObject<HFONT>;

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

}  // namespace brenik::updater
