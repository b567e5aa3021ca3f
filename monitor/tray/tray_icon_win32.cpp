#include "tray_icon_win32.h"

#include "debug_output.h"
#include "tray_messages.h"

#include <shellapi.h>

#include <cstring>

namespace brenik::monitor::tray {
namespace {

// The record's first version, the one every shell takes: 88 bytes in a 32-bit program, 104
// in a 64-bit one (its two handles are wider). The shell tells the versions apart by size.
static_assert(NOTIFYICONDATAA_V1_SIZE == (sizeof(void*) == 8 ? 104 : 88), "first version of the tray icon record");

// The small icon of our own executable: the first icon group in its resources, at the small
// icon size. Taken from the file by index, as the shell does for programs, rather than through
// the shell's file-type lookup: that depends on the ".exe" class being registered (Wine has no
// such class and gives a document icon) and, asked by attributes only, gives the generic
// program icon.
HICON LoadOwnSmallIcon() {
    char path[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    HICON smallIcon = nullptr;
    if (ExtractIconExA(path, 0, nullptr, &smallIcon, 1) == 0) return nullptr;
    return smallIcon;
}

// The record for our icon: owner and id name it, the flags say which other fields count.
NOTIFYICONDATAA Record(HWND owner, UINT flags) {
    NOTIFYICONDATAA record{};
    record.cbSize = NOTIFYICONDATAA_V1_SIZE;
    record.hWnd = owner;
    record.uID = kTrayIconId;
    record.uFlags = flags;
    return record;
}

}  // namespace

CTrayIcon::CTrayIcon(IDesktop& desktop, Companions& companions)
    : desktop_(desktop), companions_(companions), taskbarCreated_(RegisterWindowMessageA(kTaskbarCreatedName)) {}

void CTrayIcon::Add() {
    shown_ = true;
    if (!icon_.Valid()) icon_.Reset(LoadOwnSmallIcon());
    NOTIFYICONDATAA record = Record(owner_, NIF_MESSAGE | NIF_ICON | NIF_TIP);
    record.uCallbackMessage = kMsgTrayCallback;
    record.hIcon = icon_.Get();
    std::strncpy(record.szTip, kTrayTip, sizeof record.szTip - 1);
    Shell_NotifyIconA(NIM_ADD, &record);
}

void CTrayIcon::Remove() {
    shown_ = false;
    NOTIFYICONDATAA record = Record(owner_, 0);
    Shell_NotifyIconA(NIM_DELETE, &record);
}

void CTrayIcon::OnTaskbarCreated() {
    if (shown_) Add();
}

void CTrayIcon::OnSystrayNotify(LPARAM mouseMessage) {
    switch (mouseMessage) {
        case WM_LBUTTONDOWN: BringLastPopupForward(true); break;
        case WM_LBUTTONDBLCLK:
            DebugOutput("OnSystrayNotify WM_LBUTTONDBLCLK\n");
            OnCustomizer();
            break;
        case WM_RBUTTONDOWN: ShowMenu(); break;
        default: break;
    }
}

void CTrayIcon::OnCustomizer() { companions_.BringUpSettings(); }

// A left click brings back whatever the monitor last showed; before the menu only the
// foreground is needed, so that the menu closes when the user clicks elsewhere.
void CTrayIcon::BringLastPopupForward(bool restore) {
    const HWND popup = GetLastActivePopup(owner_);
    if (popup == nullptr) return;
    if (restore) {
        // With no pop-up the platform answers the owner itself: the hidden main window must not
        // take the foreground from the user's window (a game) on a plain click.
        if (popup == owner_) return;
        desktop_.BringForward(reinterpret_cast<WindowId>(popup));
    } else {
        SetForegroundWindow(popup);
    }
}

void CTrayIcon::ShowMenu() {
    BringLastPopupForward(false);
    win32::ScopedMenu menu(CreatePopupMenu());
    if (!menu.Valid()) return;
    AppendMenuA(menu.Get(), MF_STRING, kCmdConfiguration, "Configuration");
    AppendMenuA(menu.Get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu.Get(), MF_STRING, kCmdExit, "Exit");
    SetMenuDefaultItem(menu.Get(), kCmdConfiguration, FALSE);  // drawn bold
    POINT cursor{};
    GetCursorPos(&cursor);
    // Returns when the menu closes; the chosen command arrives as WM_COMMAND.
    TrackPopupMenu(menu.Get(), 0, cursor.x, cursor.y, 0, owner_, nullptr);
    // Makes the shell's next click open the menu again (the menu's known foreground quirk).
    PostMessageA(owner_, WM_NULL, 0, 0);
}

}  // namespace brenik::monitor::tray
