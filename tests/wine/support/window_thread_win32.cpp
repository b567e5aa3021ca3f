#include "window_thread_win32.h"

#include <utility>

namespace brenik::test {
namespace {

constexpr DWORD kReadyTimeoutMs = 10000;

}  // namespace

WindowThread::WindowThread(std::string className, std::vector<WindowLayout> windows, Handler handler)
    : className_(std::move(className)), handler_(std::move(handler)) {
    ready_.Reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    thread_ = std::thread([this, layouts = std::move(windows)] { Run(layouts); });
    WaitForSingleObject(ready_.Get(), kReadyTimeoutMs);
}

WindowThread::~WindowThread() {
    PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
    if (thread_.joinable()) thread_.join();
}

void WindowThread::Run(const std::vector<WindowLayout>& layouts) {
    threadId_ = GetCurrentThreadId();
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &WindowThread::WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = className_.c_str();
    RegisterClassA(&windowClass);
    for (const WindowLayout& layout : layouts) {
        HWND window = CreateWindowExA(0, className_.c_str(), layout.title.c_str(), layout.style, layout.x, layout.y, layout.width,
                                      layout.height, nullptr, nullptr, windowClass.hInstance, nullptr);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        if (layout.shown) ShowWindow(window, SW_SHOW);
        windows_.push_back(window);
    }
    MSG message;
    PeekMessageA(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);  // the thread's queue, for WM_QUIT
    SetEvent(ready_.Get());
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    for (HWND window : windows_) DestroyWindow(window);
}

LRESULT CALLBACK WindowThread::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<WindowThread*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    LRESULT result = 0;
    if (self != nullptr && self->handler_(hwnd, message, wParam, lParam, &result)) return result;
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace brenik::test
