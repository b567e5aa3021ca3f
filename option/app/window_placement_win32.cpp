#include "window_placement_win32.h"

#include "scoped_owner.h"

namespace brenik::option {
namespace {

constexpr const wchar_t* kKey = L"Software\\Brenik\\Brenik Option";
constexpr const wchar_t* kValue = L"Placement";

struct RegistryKeyTraits {
    static HKEY Empty() { return nullptr; }
    static bool Valid(HKEY key) { return key != nullptr; }
    static void Free(HKEY key) { RegCloseKey(key); }
};
using ScopedKey = win32::ScopedOwner<HKEY, RegistryKeyTraits>;

}  // namespace

bool RestorePlacement(HWND window, int showCommand) {
    HKEY raw = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_QUERY_VALUE, &raw) != ERROR_SUCCESS) return false;
    const ScopedKey key(raw);
    WINDOWPLACEMENT placement{};
    DWORD size = sizeof placement;
    DWORD type = 0;
    if (RegQueryValueExW(key.Get(), kValue, nullptr, &type, reinterpret_cast<BYTE*>(&placement), &size) != ERROR_SUCCESS ||
        type != REG_BINARY || size != sizeof placement || placement.length != sizeof placement) {
        return false;
    }
    if (MonitorFromRect(&placement.rcNormalPosition, MONITOR_DEFAULTTONULL) == nullptr) return false;
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
    RegSetValueExW(key.Get(), kValue, 0, REG_BINARY, reinterpret_cast<const BYTE*>(&placement), sizeof placement);
}

}  // namespace brenik::option
