#pragma once
// AppletsNotifier: everything the monitor posts to the applets: the system gauge ("Brenik
// Gaming Keyboard CPU RAM OSD") and the call display ("Brenik Gaming Keyboard OSD SKYPE"),
// which the monitor starts and tells to reload, and the pop-up display ("Brenik Gaming
// Keyboard Pop3"), which it only closes. Companions decides which applet runs; it finds an
// applet's window once and hands it here, so one update searches once per applet.

#include "desktop.h"

namespace brenik::monitor::peers {

class AppletsNotifier {
public:
    explicit AppletsNotifier(IDesktop& desktop) : desktop_(desktop) {}

    // 1224 to a running system gauge or call display whenever the applets are updated: the
    // keyboard was found, or the settings program changed the settings (message 1224).
    void Reload(WindowId applet);
    // WM_CLOSE to a running system gauge or call display that the settings switch off.
    void Close(WindowId applet);
    // WM_CLOSE to the pop-up display, the system gauge and the call display, in this order,
    // each if it runs: the companions are closed (removal, session disconnect, shutdown).
    void CloseAll();

private:
    IDesktop& desktop_;
};

}  // namespace brenik::monitor::peers
