#include "key_capture_win32.h"

#include "macro_recorder.h"
#include "window_text_win32.h"

#include <commctrl.h>

namespace brenik::option {
namespace {

constexpr UINT_PTR kSubclassId = 1;

}  // namespace

KeyCapture::~KeyCapture() {
    if (button_ != nullptr) RemoveWindowSubclass(button_, Procedure, kSubclassId);
}

void KeyCapture::Attach(HWND button, std::wstring waitingText, Taken taken) {
    button_ = button;
    waitingText_ = std::move(waitingText);
    taken_ = std::move(taken);
    idleText_ = WindowText(button);
    SetWindowSubclass(button, Procedure, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

void KeyCapture::Start() {
    capturing_ = true;
    SetWindowTextW(button_, waitingText_.c_str());
    SetFocus(button_);
}

void KeyCapture::Stop() {
    if (!capturing_) return;
    capturing_ = false;
    SetWindowTextW(button_, idleText_.c_str());
}

bool KeyCapture::OnKey(WPARAM virtualKey, LPARAM flags) {
    if (!capturing_) return false;
    Stop();
    if (virtualKey == VK_ESCAPE) return true;
    // The scan code and the extended bit are the message's bits 16-23 and 24.
    const auto scanCode = static_cast<std::uint16_t>((flags >> 16) & 0xFF);
    const bool extended = ((flags >> 24) & 1) != 0;
    taken_(UsageOfKey(static_cast<std::uint16_t>(virtualKey), scanCode, extended));
    return true;
}

LRESULT CALLBACK KeyCapture::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                       DWORD_PTR self) {
    auto& capture = *reinterpret_cast<KeyCapture*>(self);
    switch (message) {
        case WM_GETDLGCODE:
            if (capture.capturing_) return DLGC_WANTALLKEYS | DLGC_WANTMESSAGE;
            break;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (capture.OnKey(wParam, lParam)) return 0;
            break;
        case WM_KILLFOCUS:
            capture.Stop();
            break;
        default:
            break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace brenik::option
