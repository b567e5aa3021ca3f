#include "desktop.h"

namespace brenik {

bool PostToTitle(IDesktop& desktop, const char* title, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    const WindowId window = desktop.FindWindowByTitle(title);
    return window != kNoWindow && desktop.Post(window, message, wParam, lParam);
}

}  // namespace brenik
