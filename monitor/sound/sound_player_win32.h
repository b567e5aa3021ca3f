#pragma once
// The Windows sound player: PlaySound by file name (winmm).

#include "sound_player.h"

namespace brenik::monitor::sound {

class Win32SoundPlayer final : public ISoundPlayer {
public:
    // Asynchronous, by file name, no module; gives up at once if the device is busy. The
    // result is not looked at: a cue that cannot play is simply not heard.
    void PlayFile(const std::string& path) override;
};

}  // namespace brenik::monitor::sound
