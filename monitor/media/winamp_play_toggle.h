#pragma once
// Winamp's play/pause key: Winamp has a command for play and one for pause, not one for both,
// so the monitor alternates them, play first. The toggle knows nothing of Winamp's real state;
// it is one value for the whole process (all profiles share it) and starts at play with every
// start of the monitor.

#include "media_key_codes.h"

namespace brenik::monitor::media {

class WinampPlayToggle {
public:
    // The command for this press: play, pause, play, ...
    unsigned Next() {
        const unsigned command = paused_ ? kWinampPause : kWinampPlay;
        paused_ = !paused_;
        return command;
    }

private:
    bool paused_ = false;  // false: the next press sends play
};

}  // namespace brenik::monitor::media
