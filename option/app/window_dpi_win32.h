#pragma once
// The DPI a window is shown at (per-monitor awareness), or 0 where the system cannot say: the
// call is looked up, as systems before Windows 10 lack it.

#include <windows.h>

namespace brenik::option {

inline UINT WindowDpi(HWND window) {
    using DpiOf = UINT(WINAPI*)(HWND);
    const auto dpiOf = reinterpret_cast<DpiOf>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    return dpiOf != nullptr && window != nullptr ? dpiOf(window) : 0;
}

}  // namespace brenik::option
