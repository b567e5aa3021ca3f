#pragma once
// IForegroundProcess: what game detection asks the platform about the program in front. The
// Windows layer answers with the foreground window's process, the process list and the
// process's names (foreground_process_win32.cpp); tests answer from tables.

#include <cstddef>
#include <cstdint>
#include <string>

namespace brenik::monitor::games {

using ProcessId = std::uint32_t;
constexpr ProcessId kNoProcess = 0;

class IForegroundProcess {
public:
    virtual ~IForegroundProcess() = default;

    // The process of the window in the foreground; kNoProcess when no window is in front.
    virtual ProcessId ForegroundProcessId() = 0;

    // Writes the identifiers of the running processes into ids[0..capacity) and their count to
    // `written`; false when the list cannot be taken. Like the platform's own call it cannot
    // say that the list was longer: written == capacity means it may have been cut.
    virtual bool EnumerateProcesses(ProcessId* ids, std::size_t capacity, std::size_t& written) = 0;

    // Opens the process for querying information and reading its memory and takes the base
    // name of its first module, the program file ("game.exe"). False when the open is refused
    // (an elevated or protected process, for one) or the module cannot be taken.
    virtual bool MainModuleName(ProcessId id, std::string& name) = 0;

    // Opens the process with the limited query right only, which is granted even for elevated
    // and protected processes, and takes the full path of its program file. False when refused.
    virtual bool ImagePath(ProcessId id, std::string& path) = 0;
};

}  // namespace brenik::monitor::games
