#pragma once
// Two profiles naming the same game: the monitor switches to the lower one and never to the
// other (it takes the lowest profile whose game matches the program in front). The window says
// so before the user applies. Programs compare as the monitor compares them: by file name and
// extension, without regard to case (program_name.h).

#include <array>
#include <string>
#include <vector>

#include "profile_record.h"

namespace brenik::option {

struct GameConflict {
    std::string program;        // the file name, as the lowest profile spells it
    std::vector<int> profiles;  // every profile naming it, lowest first; profiles[0] wins
};

// games: each profile's GameFile text (ANSI bytes). Conflicts in the order of their winner.
std::vector<GameConflict> FindGameConflicts(const std::array<std::string, kProfileCount>& games);

}  // namespace brenik::option
