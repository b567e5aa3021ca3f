#include "program_folder.h"

#include <windows.h>

namespace brenik {

std::string ProgramFolder() {
    char path[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    // A full buffer means the path was cut: better no folder than a wrong one.
    if (length == 0 || length >= MAX_PATH) return "";
    return FolderOfPath(std::string_view(path, length));
}

}  // namespace brenik
