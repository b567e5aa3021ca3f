#pragma once
// Which program a profile's game names, as the monitor's game detection compares it and as the
// settings program finds two profiles naming one game: by file name with extension only.
// A profile's `GameFile` is a path as the user picked it; only its last part counts:
//   "  D:\Games\X\Game.EXE  "  ->  "Game.EXE"    white space at both ends, then the folder, go
//   "D:Game.EXE"               ->  "Game.EXE"    a drive without a folder goes too
//   "C:/Games/game.exe"        ->  "game.exe"    either slash ends a folder
//   "D:\Games\"                ->  ""            names no program
// Names compare without regard to ASCII case, as the file system compares these names.

#include <cstddef>
#include <string_view>

namespace brenik {

// The file name with extension of a path, as a view into it; empty when it names none.
std::string_view ProgramFileName(std::string_view path);

bool SameProgramName(std::string_view a, std::string_view b);

// The text of a fixed-size character field: up to its first zero, or the whole field when it
// holds none (such a field came damaged from the shared block; nothing past it is read).
std::string_view FieldText(const char* field, std::size_t size);

}  // namespace brenik
