#pragma once
// Windows of a test on a thread of their own, which runs their messages until the object goes:
// the peers that stand in for other programs and record what they are sent, or a window that
// takes the foreground. Each message goes to the handler on that thread; what it does not
// answer goes on to DefWindowProc.

#include "scoped_handle.h"

#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace brenik::test {

struct WindowLayout {
    std::string title;
    DWORD style = WS_POPUP;
    int x = 0, y = 0, width = 10, height = 10;
    bool shown = false;
};

class WindowThread {
public:
    // Answers a message by setting *result and returning true.
    using Handler = std::function<bool(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)>;

    // Returns once the windows exist and take messages.
    WindowThread(std::string className, std::vector<WindowLayout> windows, Handler handler);
    ~WindowThread();
    WindowThread(const WindowThread&) = delete;
    WindowThread& operator=(const WindowThread&) = delete;

    // The window made from windows[index]; nullptr if it could not be made.
    HWND Window(std::size_t index) const { return index < windows_.size() ? windows_[index] : nullptr; }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void Run(const std::vector<WindowLayout>& layouts);

    std::string className_;
    Handler handler_;
    std::vector<HWND> windows_;
    DWORD threadId_ = 0;
    win32::ScopedHandle ready_;
    std::thread thread_;
};

}  // namespace brenik::test
