#pragma once
// CTrayIcon: the monitor's icon in the notification area, its callback and its menu, and
// bringing up the settings program (OnCustomizer).
//
// The icon is the first version of the shell's icon record: owner the main window, id 102,
// callback message 1036, the tip "GRIM HERON Brenik", and the small icon the shell shows for
// Monitor.exe itself (its own icon resource). The shell keeps icons only while it runs: when
// Explorer restarts it broadcasts "TaskbarCreated", and the icon is added again if it is
// meant to be shown (added and not removed since).

#include "companions.h"
#include "desktop.h"
#include "scoped_gdi.h"
#include "tray_icon.h"

#include <windows.h>

namespace brenik::monitor::tray {

class CTrayIcon final : public ITrayIcon {
public:
    CTrayIcon(IDesktop& desktop, Companions& companions);

    // The main window, once it exists: the icon's owner, and the menu's.
    void Attach(HWND owner) { owner_ = owner; }

    // Registers the icon with the shell. Adding an icon that is there already fails
    // harmlessly (the shell refuses the second add).
    void Add() override;
    void Remove() override;
    // The shell's callback (message 1036); lParam = the mouse message.
    void OnSystrayNotify(LPARAM mouseMessage);
    // Brings up the settings program, or starts it.
    void OnCustomizer();

    // The shell's "TaskbarCreated" message (registered once; 0 if it could not be).
    UINT TaskbarCreatedMessage() const { return taskbarCreated_; }
    // The shell restarted and lost every icon: ours comes back if it is meant to be shown.
    void OnTaskbarCreated();

private:
    void BringLastPopupForward(bool restore);
    void ShowMenu();

    HWND owner_ = nullptr;  // the main window, from Attach
    IDesktop& desktop_;
    Companions& companions_;
    const UINT taskbarCreated_;
    win32::ScopedIcon icon_;  // the shell copies it; kept for the adds after a shell restart
    bool shown_ = false;      // added and not removed since
};

}  // namespace brenik::monitor::tray
