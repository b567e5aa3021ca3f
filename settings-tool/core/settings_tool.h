#pragma once
// One run of the settings tool: a parsed command line against the platform's services.
//
// Reading (list, show, export) takes the record from the shared block when the monitor runs,
// else from the profile files (and says so on standard error).
//
// A change (set, key, switch, import):
//  1. the input is checked in full first; anything refused ends the run, nothing written;
//  2. the monitor must run and the keyboard be present, else nothing is written;
//  3. unless the settings program's window exists, our own answer window is opened;
//  4. under one hold of the block's lock: the whole record is read, the change is made, the
//     flags are cleared and set from the differences (change_flags.h) and the record is
//     written; an edit that changes nothing writes nothing and tells no one;
//  5. the monitor is told; we wait for its answer, unless the settings program's window was
//     there (it is the one told, and we cannot take its place).
// The requested output goes to `out`; every other message to `err`.

#include "command_line.h"
#include "settings_services.h"

#include <ostream>

namespace brenik::settings {

class SettingsTool {
public:
    SettingsTool(IStateBlock& block, IMonitorLink& monitor, IProfileFiles& files, std::ostream& out, std::ostream& err)
        : block_(block), monitor_(monitor), files_(files), out_(out), err_(err) {}

    // The exit status (exit_codes.h).
    int Run(const CommandLine& command);

private:
    int Read(const CommandLine& command);
    int Change(const CommandLine& command);
    int Refuse(const CommandLine& command, const std::string& why);

    IStateBlock& block_;
    IMonitorLink& monitor_;
    IProfileFiles& files_;
    std::ostream& out_;
    std::ostream& err_;
};

}  // namespace brenik::settings
