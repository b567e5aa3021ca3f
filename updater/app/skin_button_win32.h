#pragma once
// CSkinButton: an owner-drawn push button whose looks are pieces cut from the dialog's
// pictures: normal, hover (while the mouse is over it), pressed and disabled. It has control
// id 0 and no tab stop; its dialog knows it by its window.

#include "button_layout.h"
#include "scoped_gdi.h"

#include <windows.h>

namespace brenik::updater {

class CSkinButton {
public:
    CSkinButton() = default;
    ~CSkinButton();
    CSkinButton(const CSkinButton&) = delete;
    CSkinButton& operator=(const CSkinButton&) = delete;

    // Creates the button window at the layout's rectangle on parent and subclasses it.
    bool Create(HWND parent, const ButtonLayout& layout);
    // Cuts the four looks out of the pictures under the button's rectangle; an empty
    // picture leaves that look without a bitmap.
    void SetPictures(HBITMAP normal, HBITMAP hover, HBITMAP pressed, HBITMAP disabled);

    HWND Hwnd() const { return window_; }
    bool Hovered() const { return hover_; }
    // Paints the look for the item state (WM_DRAWITEM of the parent).
    void Draw(const DRAWITEMSTRUCT& item) const;

private:
    enum Look { kNormal, kHover, kPressed, kDisabled, kLookCount };
    static LRESULT CALLBACK ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT CallOriginal(UINT message, WPARAM wParam, LPARAM lParam);
    void OnMouseMove(WPARAM wParam, LPARAM lParam);
    void Redraw() const { InvalidateRect(window_, nullptr, FALSE); }

    HWND window_ = nullptr;
    WNDPROC original_ = nullptr;
    RECT rect_{};
    win32::ScopedBitmap looks_[kLookCount];
    bool hover_ = false;
};

}  // namespace brenik::updater
