#pragma once
// GameDetection: switches to the profile whose game is the program in the foreground. It
// keeps no state between looks; a look that finds the current profile's game changes nothing.

#include "working_copy.h"

#include <functional>

namespace brenik {

class GameDetection {
public:
    GameDetection(WorkingCopy& state, std::function<void(int)> switchProfile);

    // One look at the foreground program (timer 500).
    void DetectGame();

private:
    WorkingCopy& state_;
    std::function<void(int)> switchProfile_;
};

}  // namespace brenik
