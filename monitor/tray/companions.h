#pragma once
// The companion programs of the product line as the monitor drives them: started by path,
// found by title each time, told by posted messages (through the notifier of each program,
// monitor/peers/), closed with WM_CLOSE. The monitor never waits for them and never keeps
// their windows.
//
// Paths are the program folder (which ends in a backslash) followed by "\" and the program's
// name, the doubled separator as the programs have always been started; the system accepts
// it. Starting never looks for a running copy: the on-screen display and the volume bar cope
// with a second start themselves.

#include "applets_notifier.h"
#include "desktop.h"
#include "on_screen_display.h"
#include "osd_settings_record.h"

#include <string>

namespace brenik::monitor::tray {

// WM_CLOSE to each companion that has a window, in this order: the settings program; the
// pop-up display, the system gauge, the call display; the on-screen display; the volume
// controller.
void CloseCompanions(IDesktop& desktop);

// The two applets' switches of the display settings: the system gauge runs when either of its
// two fields is 1, the call display when its field is 1 (any other value is off).
struct AppletSwitches {
    bool systemGauge = false;
    bool callDisplay = false;
};
AppletSwitches AppletSwitchesOf(const OsdSettings& settings);

// What the device sequences ask of the companions when the keyboard is found.
class ICompanions {
public:
    virtual ~ICompanions() = default;
    // The on-screen display, the volume bar, then the applets.
    virtual void Start() = 0;
    // The settings program brought up, or started (the tray's "Configuration").
    virtual void BringUpSettings() = 0;
};

class Companions final : public ICompanions {
public:
    Companions(IDesktop& desktop, std::string programFolder, const osd::OnScreenDisplay& osd);

    // When the keyboard is found: the on-screen display, the volume bar, then the applets.
    void Start() override;
    // The system gauge, then the call display: told to reload (1224) if it runs; started if it
    // is switched on and does not run; closed if it is switched off and runs. The switches are
    // the display settings the on-screen display's part holds, or the given ones.
    void UpdateApplets();
    void UpdateApplets(const AppletSwitches& switches);
    void Close() { CloseCompanions(desktop_); }

    // Brings up the settings program: its window restored and brought forward if it has one,
    // else the program started. Writes the debug lines of the tray's "Configuration".
    void BringUpSettings() override;

    // Where a companion is started from; `program` relative to the program folder.
    std::string PathOf(const char* program) const;

private:
    void UpdateApplet(const char* title, const char* program, bool switchedOn);

    IDesktop& desktop_;
    peers::AppletsNotifier applets_;
    const std::string programFolder_;
    const osd::OnScreenDisplay& osd_;
};

}  // namespace brenik::monitor::tray
