#pragma once
// The game a profile is bound to: picked from the programs running now (each with its name,
// icon and folder) or from a file dialog, or none. A modal dialog over the window.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace brenik::option {

struct RunningProgram {
    std::wstring path;
    std::wstring name;  // file name with extension
};

// The programs of the session with a path we may read, one row per path, sorted by name.
std::vector<RunningProgram> RunningPrograms();

// The chosen path (empty: no game), or nullopt when the user cancelled.
std::optional<std::wstring> PickGame(HWND owner, const std::wstring& current);

}  // namespace brenik::option
