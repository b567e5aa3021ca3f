#pragma once
// The system's master volume through the default render endpoint (Core Audio): its level as a
// scalar, and its change notifications, which arrive on a thread of the system's and are
// posted to the controller's window as kMsgSystemVolumeChanged.

#include "scoped_com.h"
#include "volume_follower.h"

#include <windows.h>

#include <endpointvolume.h>

#include <atomic>
#include <memory>

namespace brenik::volumebar {

class EndpointVolume final : public ISystemVolume {
public:
    // Opens the default render endpoint and registers for its notifications, posted to
    // `window`; without one (no audio device) every call fails and says so.
    explicit EndpointVolume(HWND window);
    ~EndpointVolume() override;
    EndpointVolume(const EndpointVolume&) = delete;
    EndpointVolume& operator=(const EndpointVolume&) = delete;

    std::optional<int> Level() override;
    bool SetLevel(int level) override;

private:
    class Notifications;

    win32::ScopedCom<IAudioEndpointVolume> endpoint_;
    Notifications* notifications_ = nullptr;  // COM-counted; registered while endpoint_ lives
};

}  // namespace brenik::volumebar
