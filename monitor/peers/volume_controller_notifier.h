#pragma once
// VolumeControllerNotifier: everything the monitor tells the volume controller ("Brenik Volume
// Controller"), one method per message. The monitor never starts it; each post looks for the
// window afresh and is skipped when it does not run.

#include "desktop.h"

#include <cstdint>

namespace brenik::monitor::peers {

class VolumeControllerNotifier {
public:
    explicit VolumeControllerNotifier(IDesktop& desktop) : desktop_(desktop) {}

    // 1330 (1, 0), from the job thread: job 2 ended, whether or not it succeeded.
    void SyncDone();
    // 1331 (the event's sub-code, 0): a volume event from the keyboard (class 0xA000).
    void VolumeChanged(std::uint16_t subCode);
    // WM_CLOSE: the companions are closed (removal, session disconnect, shutdown).
    void Close();

private:
    IDesktop& desktop_;
};

}  // namespace brenik::monitor::peers
