#include "on_screen_display.h"

#include <utility>

namespace brenik {

OnScreenDisplay::OnScreenDisplay(IDesktop& desktop, WorkingCopy& state, std::string configPath,
                                 ini::IIniStorage& storage)
    : desktop_(desktop), state_(state), configPath_(std::move(configPath)), storage_(storage) {}

// The notices arrive with the on-screen display's part of the monitor.
void OnScreenDisplay::LoadSettings() {}
void OnScreenDisplay::Notify(std::uint16_t, std::uint16_t) {}
void OnScreenDisplay::NotifyProfileSwitch(int) {}
bool OnScreenDisplay::ShowsWindowsKey() const { return false; }
bool OnScreenDisplay::OnCopyData(const void*, std::size_t, bool) { return false; }

}  // namespace brenik
