// Brenik OSD.exe: our on-screen display. One per session (the instance mutex; the monitor
// starts it on every keyboard arrival, and a second start ends at once); it shows the notices
// the monitor posts to its window and ends when the window is closed.

#include "ini_file.h"
#include "instance_mutex_win32.h"
#include "osd_placement.h"
#include "osd_wnd_win32.h"
#include "program_folder.h"
#include "program_windows.h"

#include <windows.h>

#include <memory>

namespace brenik::osd {
namespace {

int Run(HINSTANCE instance) {
    const win32::ScopedHandle instanceMutex = win32::TakeInstanceMutex(kOsdInstanceMutex);
    if (!instanceMutex.Valid()) return 0;

    // The display sits beside Monitor.exe and shares its config.ini.
    const std::string configPath = ConfigIniPath();
    const Placement placement = LoadPlacement(ini::CIniFile(configPath));
    auto window = std::make_unique<COsdWnd>(configPath, placement);
    const int result = window->Create(instance) ? win32::RunMessageLoop() : 0;
    window.reset();
    return result;  // the instance mutex closes last
}

}  // namespace
}  // namespace brenik::osd

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return brenik::osd::Run(instance); }
