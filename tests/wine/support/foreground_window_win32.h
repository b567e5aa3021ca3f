#pragma once
// A window of the test's own that has the focus, covering the work area in a light colour, so
// that a test can check that a program of ours never takes the focus and its pictures show the
// program over something; on its own thread with its own message loop.

#include "scoped_gdi.h"
#include "scoped_handle.h"

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

namespace brenik::test {

class ForegroundWindow {
public:
    // className: the test's own, so that two tests never share a class and its brush.
    explicit ForegroundWindow(std::string className, COLORREF backdrop = RGB(228, 232, 238))
        : className_(std::move(className)), backdrop_(backdrop) {
        win32::ScopedHandle ready(CreateEventA(nullptr, TRUE, FALSE, nullptr));
        thread_ = std::thread([this, signal = ready.Get()] { Run(signal); });
        WaitForSingleObject(ready.Get(), 10000);
    }
    ~ForegroundWindow() {
        if (window_ != nullptr) PostMessageA(window_, WM_CLOSE, 0, 0);
        thread_.join();
    }
    ForegroundWindow(const ForegroundWindow&) = delete;
    ForegroundWindow& operator=(const ForegroundWindow&) = delete;

    HWND Handle() const { return window_; }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_DESTROY) PostQuitMessage(0);
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    void Run(HANDLE ready) {
        const win32::ScopedBrush backdrop(CreateSolidBrush(backdrop_));
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = &WindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hbrBackground = backdrop.Get();
        windowClass.lpszClassName = className_.c_str();
        RegisterClassA(&windowClass);
        RECT area{};
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
        window_ = CreateWindowExA(0, windowClass.lpszClassName, "The user's window", WS_POPUP | WS_VISIBLE, area.left,
                                  area.top, area.right - area.left, area.bottom - area.top, nullptr, nullptr,
                                  windowClass.hInstance, nullptr);
        SetForegroundWindow(window_);
        UpdateWindow(window_);
        SetEvent(ready);
        MSG message;
        while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
        // The class goes with its brush, so that the next window registers it afresh.
        UnregisterClassA(windowClass.lpszClassName, windowClass.hInstance);
    }

    const std::string className_;
    const COLORREF backdrop_;
    std::atomic<HWND> window_{nullptr};
    std::thread thread_;
};

}  // namespace brenik::test
