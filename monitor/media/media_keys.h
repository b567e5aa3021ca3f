#pragma once
// MediaKeys: the keyboard's media keys (event class 0x7000) as a system-wide media key and a
// command to the player the current profile names.

#include "desktop.h"
#include "working_copy.h"

#include <cstdint>

namespace brenik {

class MediaKeys {
public:
    MediaKeys(WorkingCopy& state, IDesktop& desktop);

    // Key byte = media key code, qualifier = flag.
    void OnKey(std::uint8_t code, std::uint8_t flag);

private:
    WorkingCopy& state_;
    IDesktop& desktop_;
};

}  // namespace brenik
