#pragma once
// IDesktop on the Windows desktop: FindWindow by title, PostMessage, ShowWindow and
// SetForegroundWindow, ShellExecute "open".

#include "desktop.h"

namespace brenik {

class Win32Desktop final : public IDesktop {
public:
    WindowId FindWindowByTitle(const char* title) override;
    bool Post(WindowId window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void BringForward(WindowId window) override;
    bool ShellOpen(const std::string& path) override;
};

}  // namespace brenik
