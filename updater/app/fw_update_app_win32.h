#pragma once
// CFwUpdateApp: one copy at a time, then the dialogs that the command-line argument selects.

#include "program_windows.h"
#include "scoped_handle.h"

#include <string>

namespace brenik::updater {

class CFwUpdateApp {
public:
    explicit CFwUpdateApp(std::string argument) : argument_(std::move(argument)) {}
    ~CFwUpdateApp();
    CFwUpdateApp(const CFwUpdateApp&) = delete;
    CFwUpdateApp& operator=(const CFwUpdateApp&) = delete;

    // Runs the whole flow; returns the process exit code.
    int Run();

private:
    bool TakeInstance();

    std::string argument_;
    win32::ScopedHandle instance_;
};

}  // namespace brenik::updater
