#pragma once
// "Press the key you want to change": a button that, once clicked, takes the next key pressed
// (Tab, Enter, Alt and the Windows keys too, which a dialog would otherwise keep) and hands
// its HID usage to the page. Esc, or the focus going elsewhere, cancels.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace brenik::option {

class KeyCapture {
public:
    // usage: the key's usage; nothing when the key has none. Not called on a cancel.
    using Taken = std::function<void(std::optional<std::uint8_t> usage)>;

    KeyCapture() = default;
    ~KeyCapture();
    KeyCapture(const KeyCapture&) = delete;
    KeyCapture& operator=(const KeyCapture&) = delete;

    void Attach(HWND button, std::wstring waitingText, Taken taken);
    void Start();
    void Stop();
    bool Capturing() const { return capturing_; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self);
    bool OnKey(WPARAM virtualKey, LPARAM flags);

    HWND button_ = nullptr;
    std::wstring idleText_;
    std::wstring waitingText_;
    Taken taken_;
    bool capturing_ = false;
};

}  // namespace brenik::option
