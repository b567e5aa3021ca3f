#pragma once
// GameDetection: switches to the profile whose game is the program in the foreground. It
// keeps no state between looks; a look that finds the current profile's game changes nothing,
// and nothing switches back when the game leaves the foreground.
//
// One look (`DetectGame`), on every tick of the game timer and whenever the system reports a
// new foreground window:
//  1. The process of the foreground window, and its program's name: the base name of its
//     first module, or, when the process refuses to be opened for that (it runs elevated or
//     under anti-cheat protection), the file name of its full image path.
//  2. "Brenik OSD.exe" in front never switches: the on-screen display is shown over games.
//  3. Each profile's `GameFile`, trimmed and reduced to file name and extension
//     (program_name.h), is compared with the program's name without regard to case; the
//     lowest profile that matches is the candidate.
//  4. A candidate other than the current profile is switched to, provided the foreground
//     process is among the running processes (process_list.h).
// A look with no profile naming a game asks the platform nothing. The process list is taken
// only when there is a switch to make: it can only stop a switch, and on a machine with a few
// hundred processes it costs more than all the rest of a look together.

#include "foreground_process.h"
#include "working_copy.h"

#include <functional>
#include <string>
#include <vector>

namespace brenik::monitor::games {

class GameDetection {
public:
    // switchProfile(n) makes profile n current (ProfileSwitch::Switch).
    GameDetection(WorkingCopy& state, IForegroundProcess& processes, std::function<void(int)> switchProfile);

    // One look at the foreground program. Runs on the window's thread.
    void DetectGame();

private:
    bool ForegroundProgramName(ProcessId id, std::string& name);

    WorkingCopy& state_;
    IForegroundProcess& processes_;
    std::function<void(int)> switchProfile_;
    std::vector<ProcessId> processList_;  // scratch of IsProcessListed
};

}  // namespace brenik::monitor::games
