#pragma once
// The desktop as a program's core sees it: windows of other programs found by title, posted
// messages, bringing a window to the user and the shell. The Windows layer implements it with
// FindWindow, PostMessage, ShowWindow/SetForegroundWindow and ShellExecute; tests record what
// is asked of it.

#include <cstdint>
#include <string>

namespace brenik {

using WindowId = std::uintptr_t;  // 0: no window
constexpr WindowId kNoWindow = 0;

class IDesktop {
public:
    virtual ~IDesktop() = default;
    // Searched afresh each time: other programs' windows are never remembered.
    virtual WindowId FindWindowByTitle(const char* title) = 0;
    virtual bool Post(WindowId window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
    // Restores the window if it is minimised, brings it to the foreground and activates it.
    virtual void BringForward(WindowId window) = 0;
    // The shell's "open" verb, no parameters, shown normally.
    virtual bool ShellOpen(const std::string& path) = 0;
};

// Posts to the window with that title if there is one; false when there is none.
bool PostToTitle(IDesktop& desktop, const char* title, unsigned message, std::uintptr_t wParam = 0,
                 std::intptr_t lParam = 0);

}  // namespace brenik
