#pragma once
// A system volume of our own, for tests on a machine whose audio endpoint cannot be set (Wine
// has none that can): the level lives in an INI file ([SystemVolume] Level=0..100). A set
// writes the file and is notified like the endpoint's own; a change made from outside (a test
// playing another program) is announced with kMsgStandInChanged to the controller's window.
// Chosen by VolumeBar.ini beside the program: [SystemVolume] Type=stand-in, File=<path>.

#include "volume_follower.h"

#include <windows.h>

#include <string>

namespace brenik::volumebar {

class StandInVolume final : public ISystemVolume {
public:
    StandInVolume(std::string file, HWND window) : file_(std::move(file)), window_(window) {}
    std::optional<int> Level() override;
    bool SetLevel(int level) override;

private:
    std::string file_;
    HWND window_;
};

// VolumeBar.ini's choice: the stand-in's file, or empty for the system's endpoint.
std::string StandInFileFromSettings(const std::string& settingsPath);

}  // namespace brenik::volumebar
