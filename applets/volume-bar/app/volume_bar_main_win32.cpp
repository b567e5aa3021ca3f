// Applets\VolumeBar.exe: the volume controller. One per session (the monitor starts it at
// every keyboard arrival without looking for a running copy; a second start ends at once).
// VolumeBar.ini beside it may choose the stand-in system volume for tests.

#include "instance_mutex_win32.h"
#include "program_folder.h"
#include "program_windows.h"
#include "stand_in_volume_win32.h"
#include "volume_bar_wnd_win32.h"

#include <windows.h>

#include <objbase.h>

#include <memory>
#include <string>

namespace brenik::volumebar {
namespace {

// COM for the program's life, on this thread.
class ComSession {
public:
    ComSession() : ok_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComSession() {
        if (ok_) CoUninitialize();
    }
    ComSession(const ComSession&) = delete;
    ComSession& operator=(const ComSession&) = delete;

private:
    bool ok_;
};

int Run(HINSTANCE instance) {
    const win32::ScopedHandle instanceMutex = win32::TakeInstanceMutex(kVolumeBarInstanceMutex);
    if (!instanceMutex.Valid()) return 0;
    const ComSession com;
    auto window = std::make_unique<CVolumeBarWnd>(StandInFileFromSettings(ProgramFolder() + "VolumeBar.ini"));
    const int result = window->Create(instance) ? win32::RunMessageLoop() : 0;
    window.reset();
    return result;
}

}  // namespace
}  // namespace brenik::volumebar

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return brenik::volumebar::Run(instance); }
