#include "game_conflicts.h"

#include <gtest/gtest.h>

#include <string>

namespace brenik::option {
namespace {

using Games = std::array<std::string, kProfileCount>;

struct Expected {
    std::string program;
    std::vector<int> profiles;
};

struct Row {
    const char* what;
    Games games;
    std::vector<Expected> conflicts;
};

TEST(GameConflicts, ProfilesNamingOneProgramAreFoundAsTheMonitorCompares) {
    const Row rows[] = {
        {"no games", {"", "", "", "", ""}, {}},
        {"different games", {"a.exe", "b.exe", "", "c.exe", "a.ex"}, {}},
        {"one pair, case and folders aside",
         {"", "C:\\Games\\Racer.EXE", "notepad.exe", " D:/Other/racer.exe ", ""},
         {{"Racer.EXE", {1, 3}}}},
        {"three and a pair, in the order of their winners",
         {"x.exe", "y.exe", "X.EXE", "Y.exe", "D:x.exe"},
         {{"x.exe", {0, 2, 4}}, {"y.exe", {1, 3}}}},
        {"blank names and bare folders name no program",
         {"   ", "\t", "D:\\Games\\", "C:/", ""},
         {}},
        {"a zero ends the name as it ends the field", {std::string("game.exe\0old.exe", 16), "", "GAME.exe", "", ""},
         {{"game.exe", {0, 2}}}},
        {"the folder does not count", {"C:\\a\\game.exe", "C:\\b\\game.exe", "", "", ""}, {{"game.exe", {0, 1}}}},
    };
    for (const Row& row : rows) {
        const std::vector<GameConflict> found = FindGameConflicts(row.games);
        ASSERT_EQ(found.size(), row.conflicts.size()) << row.what;
        for (std::size_t i = 0; i < found.size(); ++i) {
            EXPECT_EQ(found[i].program, row.conflicts[i].program) << row.what;
            EXPECT_EQ(found[i].profiles, row.conflicts[i].profiles) << row.what;
        }
    }
}

}  // namespace
}  // namespace brenik::option
