// SysGauge.exe: the system gauge. One per session (the instance mutex; a second start ends at
// once). It lives in the Applets folder below the monitor's and reads the monitor's config.ini;
// it ends when its window is closed (WM_CLOSE from the monitor) or when a reload finds both
// readings switched off.

#include "gauge_settings.h"
#include "gauge_wnd_win32.h"
#include "instance_mutex_win32.h"
#include "program_folder.h"
#include "program_windows.h"

#include <windows.h>

#include <memory>

namespace brenik::sysgauge {
namespace {

int Run(HINSTANCE instance) {
    const win32::ScopedHandle instanceMutex = win32::TakeInstanceMutex(kSystemGaugeInstanceMutex);
    if (!instanceMutex.Valid()) return 0;

    auto window = std::make_unique<CGaugeWnd>(ConfigIniPathIn(MonitorFolderOf(ProgramFolder())));
    const int result = window->Create(instance) ? win32::RunMessageLoop() : 0;
    window.reset();
    return result;  // the instance mutex closes last
}

}  // namespace
}  // namespace brenik::sysgauge

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return brenik::sysgauge::Run(instance); }
