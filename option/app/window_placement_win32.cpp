#include "window_placement_win32.h"

#include "scoped_owner.h"
#include "window_dpi_win32.h"

#include <algorithm>

namespace brenik::option {
namespace {

constexpr const wchar_t* kKey = L"Software\\Brenik\\Brenik Option";
constexpr const wchar_t* kPlacementValue = L"Placement";
constexpr const wchar_t* kDpiValue = L"PlacementDpi";  // the DPI the size was measured at
constexpr UINT kDefaultDpi = 96;

struct RegistryKeyTraits {
    static HKEY Empty() { return nullptr; }
    static bool Valid(HKEY key) { return key != nullptr; }
    static void Free(HKEY key) { RegCloseKey(key); }
};
using ScopedKey = win32::ScopedOwner<HKEY, RegistryKeyTraits>;

UINT DpiOrDefault(HWND window) {
    const UINT dpi = WindowDpi(window);
    return dpi != 0 ? dpi : kDefaultDpi;
}

bool ReadValue(HKEY key, const wchar_t* name, DWORD wantedType, void* data, DWORD size) {
    DWORD type = 0;
    DWORD got = size;
    return RegQueryValueExW(key, name, nullptr, &type, static_cast<BYTE*>(data), &got) == ERROR_SUCCESS &&
           type == wantedType && got == size;
}

// A size measured at another DPI is scaled to this one; then the whole window is kept inside
// the work area of the screen it is on, so that a place kept from a larger screen or a
// smaller DPI never leaves the window partly out of reach.
void FitToScreen(RECT& box, UINT savedDpi, UINT dpi) {
    if (savedDpi != dpi && savedDpi != 0) {
        box.right = box.left + MulDiv(box.right - box.left, static_cast<int>(dpi), static_cast<int>(savedDpi));
        box.bottom = box.top + MulDiv(box.bottom - box.top, static_cast<int>(dpi), static_cast<int>(savedDpi));
    }
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromRect(&box, MONITOR_DEFAULTTONEAREST), &monitor)) return;
    const RECT& work = monitor.rcWork;
    const LONG width = std::min(box.right - box.left, work.right - work.left);
    const LONG height = std::min(box.bottom - box.top, work.bottom - work.top);
    const LONG left = std::max(work.left, std::min(box.left, work.right - width));
    const LONG top = std::max(work.top, std::min(box.top, work.bottom - height));
    box = RECT{left, top, left + width, top + height};
}

}  // namespace

bool RestorePlacement(HWND window, int showCommand) {
    HKEY raw = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_QUERY_VALUE, &raw) != ERROR_SUCCESS) return false;
    const ScopedKey key(raw);
    WINDOWPLACEMENT placement{};
    if (!ReadValue(key.Get(), kPlacementValue, REG_BINARY, &placement, sizeof placement) ||
        placement.length != sizeof placement) {
        return false;
    }
    if (MonitorFromRect(&placement.rcNormalPosition, MONITOR_DEFAULTTONULL) == nullptr) return false;
    DWORD savedDpi = kDefaultDpi;
    ReadValue(key.Get(), kDpiValue, REG_DWORD, &savedDpi, sizeof savedDpi);
    FitToScreen(placement.rcNormalPosition, savedDpi, DpiOrDefault(window));
    // A window closed while minimised comes back as it was before, not as a button.
    placement.showCmd = placement.showCmd == SW_SHOWMAXIMIZED ? SW_SHOWMAXIMIZED : showCommand;
    if (placement.showCmd == SW_SHOWMINIMIZED || placement.showCmd == SW_MINIMIZE) placement.showCmd = SW_SHOWNORMAL;
    placement.flags = 0;
    return SetWindowPlacement(window, &placement) != FALSE;
}

void SavePlacement(HWND window) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(window, &placement)) return;
    HKEY raw = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &raw, nullptr) != ERROR_SUCCESS) {
        return;
    }
    const ScopedKey key(raw);
    const DWORD dpi = DpiOrDefault(window);
    RegSetValueExW(key.Get(), kPlacementValue, 0, REG_BINARY, reinterpret_cast<const BYTE*>(&placement), sizeof placement);
    RegSetValueExW(key.Get(), kDpiValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
}

}  // namespace brenik::option
