#pragma once
// The client end of the virtual keyboard's pipe: one connection, one request and reply at a
// time. kbhid.dll and the control command vkbd both use it.

#include "pipe_protocol.h"
#include "scoped_handle.h"

#include <windows.h>

#include <string>

namespace brenik::vkb::pipe {

// "\\.\pipe\" + name.
std::string PipePath(const std::string& name);

class PipeClient {
public:
    // Waits up to timeoutMs while every instance is busy; fails at once when no server has
    // the pipe open.
    bool Connect(const std::string& pipeName, DWORD timeoutMs);
    bool Connected() const { return pipe_.Valid(); }
    void Close() { pipe_.Reset(); }
    // Sends one request and reads its reply; on any failure the connection is closed.
    bool Transact(const Request& request, Reply& reply);

private:
    win32::ScopedHandle pipe_;
};

// Connect, one transaction, close.
bool CallServer(const std::string& pipeName, const Request& request, Reply& reply, DWORD timeoutMs = 2000);

}  // namespace brenik::vkb::pipe
