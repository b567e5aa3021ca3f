#pragma once
// A backend's monitor thread. While it runs it holds its own reference on kbhid.dll, so a
// program that unloads the library without Close_DevMonitor cannot pull the code from under
// it; Stop sets the stop event and waits for the thread to end.

#include "scoped_handle.h"

#include <windows.h>

#include <functional>

namespace brenik::kbhid {

class MonitorThread {
public:
    MonitorThread() = default;
    ~MonitorThread() { Stop(); }
    MonitorThread(const MonitorThread&) = delete;
    MonitorThread& operator=(const MonitorThread&) = delete;

    // body runs on the new thread and must return soon after StopEvent() is set.
    bool Start(std::function<void(HANDLE stopEvent)> body);
    void Stop();
    bool Running() const { return thread_.Valid(); }

private:
    static DWORD WINAPI Main(void* self);

    std::function<void(HANDLE)> body_;
    win32::ScopedHandle stop_;
    win32::ScopedHandle thread_;
    HMODULE module_ = nullptr;
};

}  // namespace brenik::kbhid
