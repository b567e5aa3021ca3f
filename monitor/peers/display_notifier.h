#pragma once
// DisplayNotifier: everything the monitor posts to the on-screen display
// ("Brenik_Gaming_Keyboard_OSD"), one method per message. Whether a notice is wanted (the
// display settings' switches) and the texts it reads back from config.ini are decided by
// OnScreenDisplay before it calls here; the Windows-key notice's switch is asked by the event
// dispatch. Each post looks for the window afresh and is skipped when the display does not
// run. All from the window's thread.

#include "desktop.h"

#include <cstdint>

namespace brenik::monitor::peers {

class DisplayNotifier {
public:
    explicit DisplayNotifier(IDesktop& desktop) : desktop_(desktop) {}

    // 1326 (0, the packed display parameters): the settings program changed the display
    // settings (message 1224). Not at start-up: the display reads them itself when it starts.
    void SettingsChanged(std::uint32_t packedParams);
    // 1324/40 (index << 16): a profile became current, profile notices on.
    void ProfileSwitched(int index);
    // 1324/50: another program's text is in "OSDData", while the keyboard is open.
    void TextMessage();
    // 1324/70: a macro was played and its name is in "MacroOSD", macro notices on.
    void MacroPlayed();
    // 1324/80 (key byte << 16): a Windows-key event, Windows-key notices on.
    void WindowsKey(std::uint8_t key);
    // 1324/160 (volume 0..100): the keyboard's volume changed, volume notices on.
    void Volume(std::uint16_t value);
    // WM_CLOSE: the companions are closed (removal, session disconnect, shutdown).
    void Close();

private:
    void Show(unsigned kind, std::intptr_t value);

    IDesktop& desktop_;
};

}  // namespace brenik::monitor::peers
