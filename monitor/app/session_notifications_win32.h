#pragma once
// Console connect and disconnect messages (WM_WTSSESSION_CHANGE) for the main window, from
// "wtsapi32.dll" looked up at run time: without it the monitor runs on, without them.

#include "scoped_module.h"

#include <windows.h>

namespace brenik::monitor {

class SessionNotifications {
public:
    SessionNotifications() = default;
    ~SessionNotifications() { Unregister(); }
    SessionNotifications(const SessionNotifications&) = delete;
    SessionNotifications& operator=(const SessionNotifications&) = delete;

    // Up to 10 attempts, 1000 ms apart: the session service may not be ready early in a logon.
    bool Register(HWND window);
    // Unregisters (if registration is exported) and unloads the library.
    void Unregister();

private:
    win32::ScopedModule library_;
    HWND window_ = nullptr;
};

}  // namespace brenik::monitor
