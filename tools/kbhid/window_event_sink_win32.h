#pragma once
// Posts what a backend's monitor thread reports to the window given to Open_DevMonitor:
// key events as the key-event message (wParam = event class, lParam = sub-code) and
// arrival or removal as the device message (wParam 1 arrived, 0 removed).

#include "device_backend.h"
#include "kbhid_api.h"

#include <windows.h>

namespace brenik::kbhid {

class WindowEventSink final : public IEventSink {
public:
    WindowEventSink(HWND window, UINT keyMessage, UINT deviceMessage)
        : window_(window), keyMessage_(keyMessage), deviceMessage_(deviceMessage) {}

    void KeyEvent(std::uint16_t eventClass, std::uint16_t subCode) override {
        PostMessageW(window_, keyMessage_, static_cast<WPARAM>(eventClass), static_cast<LPARAM>(subCode));
    }
    void DeviceChanged(bool arrived) override { PostMessageW(window_, deviceMessage_, arrived ? hid::kDeviceArrived : hid::kDeviceRemoved, 0); }

private:
    HWND window_;
    UINT keyMessage_;
    UINT deviceMessage_;
};

}  // namespace brenik::kbhid
