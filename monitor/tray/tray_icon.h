#pragma once
// The tray icon as the device sequences see it: shown while the keyboard is here.
// CTrayIcon (tray_icon_win32.h) is the icon in the notification area.

namespace brenik::monitor::tray {

class ITrayIcon {
public:
    virtual ~ITrayIcon() = default;
    virtual void Add() = 0;
    virtual void Remove() = 0;
};

}  // namespace brenik::monitor::tray
