#pragma once
// The window procedure of a window owned by a C++ object, written once. The owner passes
// itself as the creation parameter (CreateWindowEx's last argument, or CreateDialogParam's);
// from then on every message goes to its handler, until the window is gone:
// - WindowProcedure<Owner, &Owner::hwnd_, &Owner::OnMessage>: at WM_NCCREATE the owner's
//   handle member is set and the owner kept in GWLP_USERDATA; each message then goes to the
//   handler, WM_NCDESTROY last, after which both are cleared. Messages before WM_NCCREATE go
//   to the default procedure.
// - DialogProcedure<Owner, &Owner::window_, &Owner::HandleMessage>: the same for a dialog,
//   from WM_INITDIALOG and kept in DWLP_USER; before it a message is not handled (FALSE).
// The handle and the handler are named by member pointers, so the owner keeps both private
// (naming them inside one of its own functions, as its Create does, is allowed) and nothing
// is needed of it but these two members.

#include <windows.h>

namespace brenik::win32 {

template <class Owner, HWND Owner::*Handle, LRESULT (Owner::*Handler)(UINT, WPARAM, LPARAM)>
LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* owner = static_cast<Owner*>(reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams);
        owner->*Handle = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
    }
    auto* owner = reinterpret_cast<Owner*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (owner == nullptr) {
        return IsWindowUnicode(hwnd) ? DefWindowProcW(hwnd, message, wParam, lParam)
                                     : DefWindowProcA(hwnd, message, wParam, lParam);
    }
    const LRESULT result = (owner->*Handler)(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        owner->*Handle = nullptr;
    }
    return result;
}

template <class Owner, HWND Owner::*Handle, INT_PTR (Owner::*Handler)(UINT, WPARAM, LPARAM)>
INT_PTR CALLBACK DialogProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* owner = reinterpret_cast<Owner*>(lParam);
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        owner->*Handle = hwnd;
    }
    auto* owner = reinterpret_cast<Owner*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (owner == nullptr) return FALSE;
    const INT_PTR result = (owner->*Handler)(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, DWLP_USER, 0);
        owner->*Handle = nullptr;
    }
    return result;
}

}  // namespace brenik::win32
