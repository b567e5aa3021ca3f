#include "tray_icon_win32.h"

namespace brenik {

// The icon, its menu and the settings program arrive with the tray.
void CTrayIcon::Add() {}
void CTrayIcon::Remove() {}
void CTrayIcon::OnSystrayNotify(LPARAM) {}
void CTrayIcon::OnCustomizer() {}

}  // namespace brenik
