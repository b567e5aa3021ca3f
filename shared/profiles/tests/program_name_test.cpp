#include "program_name.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace brenik {
namespace {

TEST(ProgramName, OnlyTheLastPartOfAPathNamesTheProgram) {
    struct Row {
        const char* path;
        const char* name;
    };
    const Row rows[] = {
        {"  D:\\Games\\X\\Game.EXE  ", "Game.EXE"},
        {"\tgame.exe\r\n", "game.exe"},
        {"D:Game.EXE", "Game.EXE"},
        {"C:/Games/game.exe", "game.exe"},
        {"C:\\Games/sub\\game.exe", "game.exe"},
        {"D:\\Games\\", ""},
        {"   ", ""},
        {"", ""},
        {"game", "game"},
        {"\\\\server\\share\\Game.exe", "Game.exe"},
    };
    for (const Row& row : rows) EXPECT_EQ(ProgramFileName(row.path), row.name) << '"' << row.path << '"';
}

TEST(ProgramName, NamesCompareWithoutRegardToAsciiCaseOnly) {
    EXPECT_TRUE(SameProgramName("Game.EXE", "game.exe"));
    EXPECT_TRUE(SameProgramName("", ""));
    EXPECT_FALSE(SameProgramName("game.exe", "game.ex"));
    EXPECT_FALSE(SameProgramName("game.exe", "gamf.exe"));
    EXPECT_FALSE(SameProgramName("\xC4.exe", "\xE4.exe")) << "bytes above ASCII compare as they are";
}

TEST(ProgramName, FieldTextStopsAtTheFirstZeroOrTheFieldsEnd) {
    char field[8];
    std::memcpy(field, "abc\0xyz", 8);
    EXPECT_EQ(FieldText(field, sizeof field), "abc");
    std::memcpy(field, "abcdefgh", 8);
    EXPECT_EQ(FieldText(field, sizeof field), "abcdefgh") << "no terminator: the whole field, nothing past it";
    EXPECT_EQ(FieldText(field, 0), "");
}

}  // namespace
}  // namespace brenik
