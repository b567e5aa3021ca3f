#include "game_conflicts.h"

#include "program_name.h"

namespace brenik::option {

std::vector<GameConflict> FindGameConflicts(const std::array<std::string, kProfileCount>& games) {
    // Each profile's program as the monitor reads it: up to the first zero, then the file name.
    std::array<std::string_view, kProfileCount> programs;
    for (int n = 0; n < kProfileCount; ++n) programs[n] = ProgramFileName(FieldText(games[n].data(), games[n].size()));

    std::vector<GameConflict> conflicts;
    std::array<bool, kProfileCount> counted{};
    for (int winner = 0; winner < kProfileCount; ++winner) {
        if (programs[winner].empty() || counted[winner]) continue;
        GameConflict conflict{std::string(programs[winner]), {winner}};
        for (int other = winner + 1; other < kProfileCount; ++other) {
            if (!counted[other] && SameProgramName(programs[winner], programs[other])) {
                conflict.profiles.push_back(other);
                counted[other] = true;
            }
        }
        if (conflict.profiles.size() > 1) conflicts.push_back(std::move(conflict));
    }
    return conflicts;
}

}  // namespace brenik::option
