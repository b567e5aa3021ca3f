#pragma once
// CTrayIcon: the monitor's icon in the notification area, its callback and its menu, and
// bringing up the settings program (OnCustomizer).

#include <windows.h>

namespace brenik {

class CTrayIcon {
public:
    explicit CTrayIcon(const HWND& owner) : owner_(owner) {}

    void Add();
    void Remove();
    // The shell's callback (message 1036); lParam = the mouse message.
    void OnSystrayNotify(LPARAM mouseMessage);
    // Brings up the settings program, or starts it.
    void OnCustomizer();

private:
    const HWND& owner_;  // the main window, known once it is created
};

}  // namespace brenik
