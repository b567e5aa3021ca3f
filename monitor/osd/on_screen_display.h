#pragma once
// OnScreenDisplay: what the monitor tells the on-screen display program and when. It keeps
// the display settings read from config.ini, decides which notices are wanted, writes the
// texts the display reads back from config.ini, and posts the notices to the display's window
// (found by title each time). Platform-neutral: windows through IDesktop, files through
// IIniStorage.

#include "desktop.h"
#include "ini_storage.h"
#include "working_copy.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace brenik {

class OnScreenDisplay {
public:
    OnScreenDisplay(IDesktop& desktop, WorkingCopy& state, std::string configPath, ini::IIniStorage& storage);

    // Reads the display settings from config.ini (start-up, and every settings change).
    void LoadSettings();
    // Event classes 0x4000 (macro key) and 0xA000 (volume); value = the event's sub-code.
    void Notify(std::uint16_t eventClass, std::uint16_t value);
    // After a profile switch.
    void NotifyProfileSwitch(int index);
    // The switch for Windows-key notices.
    bool ShowsWindowsKey() const;
    // A text message from another program (WM_COPYDATA); returns what the window answers.
    bool OnCopyData(const void* data, std::size_t size, bool keyboardOpen);

private:
    IDesktop& desktop_;
    WorkingCopy& state_;
    const std::string configPath_;
    ini::IIniStorage& storage_;
};

}  // namespace brenik
