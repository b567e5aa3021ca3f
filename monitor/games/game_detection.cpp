#include "game_detection.h"

#include "debug_output.h"
#include "process_list.h"
#include "program_name.h"
#include "program_windows.h"

#include <array>
#include <string>
#include <utility>

namespace brenik::monitor::games {
namespace {

constexpr int kNoCandidate = -1;

// Each profile's game as file name and extension ("" when it names none), copied out of the
// working copy so the platform is asked nothing while the copy is held.
using GameNames = std::array<std::string, kProfileCount>;

GameNames ReadGameNames(WorkingCopy& state) {
    GameNames names;
    state.Use([&](const StateRecord& record) {
        for (int n = 0; n < kProfileCount; ++n) {
            const char* field = record.Profiles[n].GameFile;
            const std::string_view text = FieldText(field, sizeof record.Profiles[n].GameFile);
            if (text.size() == sizeof record.Profiles[n].GameFile) {
                DebugPrintf("GameDetection: profile %d's GameFile has no end within its %zu bytes; cut there\n", n,
                            text.size());
            }
            names[n] = ProgramFileName(text);
        }
    });
    return names;
}

bool NamesAnyGame(const GameNames& names) {
    for (const std::string& name : names) {
        if (!name.empty()) return true;
    }
    return false;
}

int LowestProfileNaming(const GameNames& names, const std::string& program) {
    for (int n = 0; n < kProfileCount; ++n) {
        if (!names[n].empty() && SameProgramName(names[n], program)) return n;
    }
    return kNoCandidate;
}

}  // namespace

GameDetection::GameDetection(WorkingCopy& state, IForegroundProcess& processes, std::function<void(int)> switchProfile)
    : state_(state), processes_(processes), switchProfile_(std::move(switchProfile)) {}

void GameDetection::DetectGame() {
    const GameNames games = ReadGameNames(state_);
    if (!NamesAnyGame(games)) return;

    const ProcessId foreground = processes_.ForegroundProcessId();
    if (foreground == kNoProcess) return;
    std::string program;
    if (!ForegroundProgramName(foreground, program)) return;
    if (SameProgramName(program, kProgramOsd)) return;

    const int candidate = LowestProfileNaming(games, program);
    if (candidate == kNoCandidate) return;
    const int current = state_.Use([](const StateRecord& record) { return record.CurrentProfile; });
    if (candidate == current) return;
    if (!IsProcessListed(processes_, foreground, processList_)) return;
    switchProfile_(candidate);
}

bool GameDetection::ForegroundProgramName(ProcessId id, std::string& name) {
    if (processes_.MainModuleName(id, name)) return true;
    // An elevated or protected game refuses the full open; the limited one names its file.
    std::string path;
    if (!processes_.ImagePath(id, path)) return false;
    name = std::string(ProgramFileName(path));
    return !name.empty();
}

}  // namespace brenik::monitor::games
