#include "skin_button_win32.h"

#include <windowsx.h>

namespace brenik::updater {

namespace {

// The button's piece of a picture, as a bitmap of its own.
HBITMAP CutPiece(HWND button, HBITMAP picture, const RECT& rect) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (picture == nullptr || width <= 0 || height <= 0) return nullptr;
    win32::ScopedWindowDc screen(button);
    HBITMAP piece = CreateCompatibleBitmap(screen.Get(), width, height);
    if (piece == nullptr) return nullptr;
    win32::ScopedMemoryDc source(screen.Get());
    win32::ScopedMemoryDc target(screen.Get());
    win32::SelectedObject sourcePicture(source.Get(), picture);
    win32::SelectedObject targetPiece(target.Get(), piece);
    BitBlt(target.Get(), 0, 0, width, height, source.Get(), rect.left, rect.top, SRCCOPY);
    return piece;
}

}  // namespace

CSkinButton::~CSkinButton() {
    if (window_ != nullptr && IsWindow(window_)) {
        SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    }
}

bool CSkinButton::Create(HWND parent, const ButtonLayout& layout) {
    rect_ = RECT{layout.left, layout.top, layout.right, layout.bottom};
    window_ = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE, layout.left, layout.top, layout.Width(),
                              layout.Height(), parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (window_ == nullptr) return false;
    // Owner-drawn, out of keyboard navigation, without a border.
    LONG_PTR style = GetWindowLongPtrW(window_, GWL_STYLE);
    style = (style & ~static_cast<LONG_PTR>(BS_TYPEMASK | WS_TABSTOP | WS_BORDER)) | BS_OWNERDRAW;
    SetWindowLongPtrW(window_, GWL_STYLE, style);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    original_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CSkinButton::ButtonProc)));
    return original_ != nullptr;
}

void CSkinButton::SetPictures(HBITMAP normal, HBITMAP hover, HBITMAP pressed, HBITMAP disabled) {
    for (win32::ScopedBitmap& look : looks_) look.Reset();
    const HBITMAP pictures[kLookCount] = {normal, hover, pressed, disabled};
    for (int i = 0; i < kLookCount; ++i) looks_[i].Reset(CutPiece(window_, pictures[i], rect_));
}

void CSkinButton::Draw(const DRAWITEMSTRUCT& item) const {
    Look look = kNormal;
    if (item.itemState & ODS_SELECTED) {
        look = kPressed;
    } else if (hover_) {
        look = kHover;
    } else if (item.itemState & ODS_DISABLED) {
        look = kDisabled;
    }
    const HBITMAP bitmap = looks_[look].Get();
    if (bitmap == nullptr) return;
    win32::ScopedMemoryDc source(item.hDC);
    win32::SelectedObject selected(source.Get(), bitmap);
    BitBlt(item.hDC, 0, 0, item.rcItem.right - item.rcItem.left, item.rcItem.bottom - item.rcItem.top, source.Get(), 0,
           0, SRCCOPY);
}

LRESULT CALLBACK CSkinButton::ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* button = reinterpret_cast<CSkinButton*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (button == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
    return button->HandleMessage(message, wParam, lParam);
}

LRESULT CSkinButton::CallOriginal(UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcW(original_, window_, message, wParam, lParam);
}

LRESULT CSkinButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            return 1;  // the look covers the whole button; erasing would flicker
        case WM_MOUSEMOVE: {
            const LRESULT result = CallOriginal(message, wParam, lParam);
            OnMouseMove(wParam, lParam);
            return result;
        }
        case WM_KILLFOCUS: {
            const LRESULT result = CallOriginal(message, wParam, lParam);
            hover_ = false;
            Redraw();
            return result;
        }
        case WM_CAPTURECHANGED:
            if (hover_) {
                ReleaseCapture();
                Redraw();
            }
            return CallOriginal(message, wParam, lParam);
        case WM_LBUTTONDOWN: {
            HWND owner = GetParent(window_);
            if (owner != nullptr && GetActiveWindow() != owner) SetActiveWindow(owner);
            return CallOriginal(message, wParam, lParam);
        }
        case WM_NCDESTROY: {
            const WNDPROC original = original_;
            SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
            SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
            HWND window = window_;
            window_ = nullptr;
            return CallWindowProcW(original, window, message, wParam, lParam);
        }
        default:
            return CallOriginal(message, wParam, lParam);
    }
}

void CSkinButton::OnMouseMove(WPARAM wParam, LPARAM lParam) {
    const bool leftDown = (wParam & MK_LBUTTON) != 0;
    if (leftDown && !hover_) return;
    if (GetCapture() != window_ && GetActiveWindow() != nullptr && GetParent(window_) != nullptr) {
        hover_ = true;
        SetCapture(window_);
        Redraw();
        return;
    }
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ClientToScreen(window_, &point);
    HWND under = WindowFromPoint(point);
    if (under != nullptr && under != window_) {
        if (hover_) {
            hover_ = false;
            Redraw();
        }
        if (!leftDown) ReleaseCapture();
    }
}

}  // namespace brenik::updater
