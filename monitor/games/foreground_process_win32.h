#pragma once
// The platform's answers for game detection: the foreground window's process, the process
// list (EnumProcesses), the first module's base name (OpenProcess for query and read,
// GetModuleBaseNameA) and the full image path (OpenProcess with the limited query right,
// QueryFullProcessImageNameA). Every process handle is closed on return.

#include "foreground_process.h"

namespace brenik::monitor::games {

class Win32ForegroundProcess final : public IForegroundProcess {
public:
    ProcessId ForegroundProcessId() override;
    bool EnumerateProcesses(ProcessId* ids, std::size_t capacity, std::size_t& written) override;
    bool MainModuleName(ProcessId id, std::string& name) override;
    bool ImagePath(ProcessId id, std::string& path) override;
};

}  // namespace brenik::monitor::games
