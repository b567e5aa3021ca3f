#pragma once
// The DPI a window is shown at (per-monitor awareness), or 0 where the system cannot say, and
// the message font at it: the calls are looked up, as systems before Windows 10 lack them.

#include <windows.h>

namespace brenik::option {

inline UINT WindowDpi(HWND window) {
    using DpiOf = UINT(WINAPI*)(HWND);
    const auto dpiOf = reinterpret_cast<DpiOf>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    return dpiOf != nullptr && window != nullptr ? dpiOf(window) : 0;
}

// The system's message font at the window's DPI: on a screen of another DPI than the main
// one (per-monitor awareness) the system's own call answers for the main screen. The call for
// a given DPI is looked up, as systems before Windows 10 lack it.
inline bool MessageFontMetrics(HWND window, NONCLIENTMETRICSW& metrics) {
    using ForDpi = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
    const auto forDpi = reinterpret_cast<ForDpi>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "SystemParametersInfoForDpi")));
    metrics.cbSize = sizeof metrics;
    const UINT dpi = WindowDpi(window);
    if (forDpi != nullptr && dpi != 0) {
        if (forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) return true;
    }
    return SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0) != FALSE;
}

}  // namespace brenik::option
