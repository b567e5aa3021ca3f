#pragma once
// The program folder: drive and folder of the running program, ending in a backslash.
// Every file of the system is named relative to it.

#include "program_windows.h"

#include <string>
#include <string_view>

namespace brenik {

// The folder part of a module path, as the platform splits a path into drive, folder, file
// name and extension: everything up to and including the last "\" or "/" (a bare drive
// "C:" when there is none after it); "" when the path names no folder.
// "E:\A\B\monitor.exe" gives "E:\A\B\".
std::string FolderOfPath(std::string_view modulePath);

// The running program's folder; "" when its path cannot be obtained, so that file names
// then resolve against the current directory.
std::string ProgramFolder();

// "config.ini" in the given folder (which ends in a backslash), and in the program folder.
inline std::string ConfigIniPathIn(const std::string& folder) { return folder + kConfigFileName; }
inline std::string ConfigIniPath() { return ConfigIniPathIn(ProgramFolder()); }

}  // namespace brenik
