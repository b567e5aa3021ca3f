#pragma once
// The companion programs of the product line as the monitor drives them: started by path,
// found by title each time, told by posted messages, closed with WM_CLOSE. The monitor never
// waits for them and never keeps their windows.

#include "desktop.h"
#include "on_screen_display.h"

#include <string>

namespace brenik {

// WM_CLOSE to each companion that has a window, in this order: the settings program; the
// pop-up display, the system gauge, the call display; the on-screen display; the volume
// controller.
void CloseCompanions(IDesktop& desktop);

class Companions {
public:
    Companions(IDesktop& desktop, std::string programFolder, const OnScreenDisplay& osd);

    // When the keyboard is found: the on-screen display, the volume bar, then the applets.
    void Start();
    // The system gauge and the call display, each as its switch in the display settings says.
    void UpdateApplets();
    void Close() { CloseCompanions(desktop_); }

private:
    IDesktop& desktop_;
    const std::string programFolder_;
    const OnScreenDisplay& osd_;
};

}  // namespace brenik
