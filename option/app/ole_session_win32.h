#pragma once
// OLE on the window's thread, started the first time something needs it (a file dialog, a
// profile picture through the system's loader) and ended with the window: most runs need
// neither, and starting OLE is a noticeable part of a window's start.

#include <ole2.h>

namespace brenik::option {

class OleSession {
public:
    OleSession() = default;
    ~OleSession() {
        if (started_) OleUninitialize();
    }
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;

    void Need() {
        if (tried_) return;
        tried_ = true;
        started_ = SUCCEEDED(OleInitialize(nullptr));
    }

private:
    bool tried_ = false;
    bool started_ = false;
};

}  // namespace brenik::option
