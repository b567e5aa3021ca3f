#pragma once
// CVolumeBarWnd: the volume controller's hidden window, titled kTitleVolumeController so that
// the monitor finds it. It takes the keyboard's volume (1331) and the end of synchronisation
// (1330) from the monitor, the system's volume changes from the endpoint (or the stand-in),
// and hands each to the VolumeFollower; WM_CLOSE ends the program. Nothing is shown: the
// display's own volume notice already shows the keyboard's changes.

#include "volume_follower.h"

#include <windows.h>

#include <memory>
#include <string>

namespace brenik::volumebar {

class CVolumeBarWnd {
public:
    // standInFile: the stand-in's level file, or empty for the system's endpoint.
    explicit CVolumeBarWnd(std::string standInFile);
    ~CVolumeBarWnd();
    CVolumeBarWnd(const CVolumeBarWnd&) = delete;
    CVolumeBarWnd& operator=(const CVolumeBarWnd&) = delete;

    bool Create(HINSTANCE instance);

private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    const std::string standInFile_;
    std::unique_ptr<ISystemVolume> system_;
    std::unique_ptr<IMonitorLevel> monitor_;
    std::unique_ptr<VolumeFollower> follower_;
};

}  // namespace brenik::volumebar
