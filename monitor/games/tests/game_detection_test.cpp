// DetectGame over a table of processes: which profile a program in front switches to, and
// what stops a switch (the display in front, the current profile's game, a process the list
// or the lookups do not know).

#include "debug_capture.h"
#include "game_detection.h"
#include "process_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace brenik::monitor::games {
namespace {

using Switches = std::vector<int>;

class FakeProcesses final : public IForegroundProcess {
public:
    ProcessId ForegroundProcessId() override {
        ++asked;
        return foreground;
    }
    bool EnumerateProcesses(ProcessId* ids, std::size_t capacity, std::size_t& written) override {
        ++asked;
        capacities.push_back(capacity);
        if (listFails) return false;
        written = std::min(capacity, running.size());  // cut at the buffer's end, as the platform does
        std::copy_n(running.begin(), written, ids);
        return true;
    }
    bool MainModuleName(ProcessId id, std::string& name) override { return Find(moduleNames, id, name); }
    bool ImagePath(ProcessId id, std::string& path) override { return Find(imagePaths, id, path); }

    ProcessId foreground = kNoProcess;
    std::vector<ProcessId> running;
    std::map<ProcessId, std::string> moduleNames;  // processes that grant the full open
    std::map<ProcessId, std::string> imagePaths;   // processes that grant the limited open
    bool listFails = false;
    std::vector<std::size_t> capacities;  // of every enumeration asked for
    int asked = 0;

private:
    bool Find(const std::map<ProcessId, std::string>& table, ProcessId id, std::string& out) {
        ++asked;
        const auto found = table.find(id);
        if (found == table.end()) return false;
        out = found->second;
        return true;
    }
};

constexpr ProcessId kGame = 4242;

struct Rig {
    Rig() {
        state.Use([](StateRecord& s) { s.CurrentProfile = 0; });
        test::ClearDebugLines();
    }
    void Game(int profile, const std::string& path) {
        state.Use([&](StateRecord& s) {
            std::memset(s.Profiles[profile].GameFile, 0, sizeof s.Profiles[profile].GameFile);
            std::memcpy(s.Profiles[profile].GameFile, path.data(), path.size());
        });
    }
    // A process in front whose first module has that base name.
    void InFront(const std::string& module, ProcessId id = kGame) {
        processes.foreground = id;
        processes.running = {4, 100, id, 7000};
        processes.moduleNames[id] = module;
    }
    void Current(int profile) {
        state.Use([&](StateRecord& s) { s.CurrentProfile = profile; });
    }

    WorkingCopy state;
    FakeProcesses processes;
    Switches switches;
    // Switches as ProfileSwitch does: the profile becomes current.
    GameDetection detection{state, processes, [this](int n) {
                                switches.push_back(n);
                                Current(n);
                            }};
};

TEST(DetectGame, TheLowerProfileWinsWhenTwoNameOneProgramInDifferentFolders) {
    Rig rig;
    rig.Game(3, "D:\\Games\\X\\Game.EXE");
    rig.Game(1, "C:\\Other\\game.exe");
    rig.InFront("game.exe");
    rig.detection.DetectGame();
    EXPECT_EQ(rig.switches, (Switches{1}));
}

TEST(DetectGame, OnlyTheGameFilesNameAndExtensionCount) {
    struct Row {
        const char* gameFile;
        bool matches;
    };
    const Row rows[] = {
        {"  D:\\Games\\X\\Game.EXE  ", true},      // 0: blanks and folders around the name
        {"\t game.exe\r\n", true},                 // 1
        {"D:Game.exe", true},                      // 2: a drive without a folder
        {"C:/Games/x/GAME.exe", true},             // 3
        {"\\\\server\\share\\game.exe", true},     // 4
        {"D:\\Games\\ game.exe", false},           // 5: a blank inside the path is part of the name
        {"D:\\Games\\game.exe\\", false},          // 6: a folder named like the program
        {"D:\\Games\\X\\", false},                 // 7
        {"   ", false},                            // 8
        {"game", false},                           // 9
        {"game.exe.lnk", false},                   // 10
        {"D:\\game.exe\\other.exe", false},        // 11
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        Rig rig;
        rig.Game(2, rows[i].gameFile);
        rig.InFront("game.exe");
        rig.detection.DetectGame();
        EXPECT_EQ(rig.switches, rows[i].matches ? Switches{2} : Switches{}) << "row " << i;
    }
}

TEST(DetectGame, TheDisplayProgramInFrontNeverSwitches) {
    Rig rig;
    rig.Game(1, "C:\\Program Files\\Brenik\\Brenik OSD.exe");
    rig.InFront("BRENIK osd.EXE");
    rig.detection.DetectGame();
    // Also when its name comes from the image path.
    rig.processes.moduleNames.clear();
    rig.processes.imagePaths[kGame] = "C:\\Program Files\\Brenik\\Brenik OSD.exe";
    rig.detection.DetectGame();
    EXPECT_EQ(rig.switches, Switches{});
}

TEST(DetectGame, TheCurrentProfilesGameInFrontChangesNothing) {
    Rig rig;
    rig.Game(2, "game.exe");
    rig.Current(2);
    rig.InFront("game.exe");
    rig.detection.DetectGame();
    EXPECT_EQ(rig.switches, Switches{});

    // Once switched, later looks at the same game leave it alone.
    rig.Current(0);
    for (int look = 0; look < 3; ++look) rig.detection.DetectGame();
    EXPECT_EQ(rig.switches, (Switches{2}));

    // The lowest profile naming the game is the candidate even when a higher one is current.
    rig.Game(1, "D:\\game.exe");
    rig.detection.DetectGame();
    EXPECT_EQ(rig.switches, (Switches{2, 1}));
}

TEST(DetectGame, FindsTheProgramInFrontInAProcessListLongerThanTheFirstBuffer) {
    Rig rig;
    rig.Game(3, "game.exe");
    rig.InFront("game.exe");
    rig.processes.running.clear();
    for (ProcessId id = 1; id <= 3000; ++id) rig.processes.running.push_back(id * 4);
    rig.processes.running.back() = kGame;
    rig.detection.DetectGame();
    EXPECT_EQ(rig.switches, (Switches{3}));
    EXPECT_EQ(rig.processes.capacities, (std::vector<std::size_t>{1024, 2048, 4096}));

    // The grown buffer is kept for the next look.
    rig.Current(0);
    rig.processes.capacities.clear();
    rig.detection.DetectGame();
    EXPECT_EQ(rig.switches, (Switches{3, 3}));
    EXPECT_EQ(rig.processes.capacities, (std::vector<std::size_t>{4096}));
}

TEST(DetectGame, AListThatExactlyFillsTheBufferIsTakenAgainLarger) {
    Rig rig;
    rig.Game(3, "game.exe");
    rig.InFront("game.exe");
    rig.processes.running.assign(kFirstProcessListEntries, 8);
    rig.processes.running.back() = kGame;
    rig.detection.DetectGame();
    EXPECT_EQ(rig.switches, (Switches{3}));
    EXPECT_EQ(rig.processes.capacities, (std::vector<std::size_t>{1024, 2048}));
}

TEST(DetectGame, AProgramTheProcessListDoesNotShowIsNotSwitchedTo) {
    Rig rig;
    rig.Game(3, "game.exe");
    rig.InFront("game.exe");
    rig.processes.running = {4, 8, 12};
    rig.detection.DetectGame();
    EXPECT_EQ(rig.switches, Switches{});

    rig.InFront("game.exe");
    rig.processes.listFails = true;
    rig.detection.DetectGame();
    EXPECT_EQ(rig.switches, Switches{});
    EXPECT_TRUE(test::DebugLinesContain("process list cannot be taken"));
}

TEST(DetectGame, AProcessThatRefusesTheFullOpenIsNamedByItsImagePath) {
    Rig rig;
    rig.Game(4, "D:\\Games\\Protected\\Game.EXE");
    rig.InFront("unused");
    rig.processes.moduleNames.clear();
    rig.processes.imagePaths[kGame] = "C:\\Program Files\\Some Game\\game.exe";
    rig.detection.DetectGame();
    EXPECT_EQ(rig.switches, (Switches{4}));

    // Refused both ways, or a path that names no file: no switch.
    rig.Current(0);
    for (const char* path : {"", "C:\\Program Files\\Some Game\\"}) {
        rig.processes.imagePaths[kGame] = path;
        rig.detection.DetectGame();
    }
    rig.processes.imagePaths.clear();
    rig.detection.DetectGame();
    EXPECT_EQ(rig.switches, (Switches{4}));
}

TEST(DetectGame, AsksThePlatformNothingWhenNoProfileNamesAGame) {
    Rig rig;
    rig.Game(1, "  \t ");
    rig.InFront("game.exe");
    rig.detection.DetectGame();
    EXPECT_EQ(rig.processes.asked, 0);
    EXPECT_EQ(rig.switches, Switches{});
}

TEST(DetectGame, AGameFileWithoutItsEndIsCutAtTheFieldsEnd) {
    constexpr std::size_t kField = sizeof(ProfileRecord::GameFile);
    // The whole field is the path, and the field after it is not read on: "...\game.ex" + "e".
    std::string path = "\\game.ex";
    path.insert(0, kField - path.size(), 'x');
    Rig rig;
    rig.state.Use([&](StateRecord& s) {
        std::memcpy(s.Profiles[2].GameFile, path.data(), kField);
        std::strcpy(s.Profiles[2].PictureFile, "e");
    });
    rig.InFront("game.exe");
    rig.detection.DetectGame();
    EXPECT_EQ(rig.switches, Switches{});
    EXPECT_TRUE(test::DebugLinesContain("profile 2's GameFile has no end within its 500 bytes"));

    // Cut, not refused: a name that fills the field to its end still matches.
    rig.InFront("game.ex");
    rig.detection.DetectGame();
    EXPECT_EQ(rig.switches, (Switches{2}));
}

}  // namespace
}  // namespace brenik::monitor::games
