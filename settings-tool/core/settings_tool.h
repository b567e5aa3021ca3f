#pragma once
// One run of the settings tool: a parsed command line against the platform's services.
//
// Reading (list, show, export) takes the record from the shared block when the monitor runs,
// else from the profile files (and says so on standard error, also when there are none and
// the defaults are shown). export writes a new file; an existing one only with --force, and
// then replaced whole, never merged.
//
// history lists the copies of the profiles kept before they were overwritten, newest first,
// with what each differs from now in (the block, or the files without a monitor).
//
// A change (set, key, switch, import, restore N):
//  1. the input is checked in full first (profile_edit.h); anything refused ends the run,
//     nothing written;
//  2. the monitor must run and the keyboard be present, else nothing is written;
//  3. the run takes the tool's change turn (one change at a time across runs, waited for up
//     to the time limit), and unless the settings program's window exists, opens its own
//     answer window; an import or a restore keeps the profiles as they stand in the history
//     (a copy that cannot be kept is said, and the change goes on);
//  4. under one hold of the block's lock: the whole record is read, the change is made, the
//     flags are set from the differences (record_editor.h; with the settings program open,
//     added to its pending ones rather than replacing them) and the record is written; an
//     edit that changes nothing writes nothing and tells no one;
//  5. the monitor is told; we wait for its answer, unless the settings program's window was
//     there (it is the one told, and we cannot take its place);
//  6. the block is read again: the monitor publishes its own copy on its own events (a
//     profile key, the end of a job), and one landing between our write and its re-read
//     puts the old values back. Then the change is made once more; lost twice, the run
//     fails with its own status.
// The requested output goes to `out`; every other message to `err`. Under --json a failure
// also prints {"command", "error", "status"} to `out`, so a script always gets an object.

#include "command_line.h"
#include "json_writer.h"
#include "settings_services.h"

#include <ostream>
#include <string>
#include <utility>

namespace brenik::settings {

class SettingsTool {
public:
    // toUtf8 converts code-page text for the JSON output (json_writer.h).
    SettingsTool(IStateBlock& block, IMonitorLink& monitor, IProfileFiles& files, std::ostream& out, std::ostream& err,
                 json::ToUtf8 toUtf8 = {})
        : block_(block), monitor_(monitor), files_(files), out_(out), err_(err), toUtf8_(std::move(toUtf8)) {}

    // The exit status (exit_codes.h).
    int Run(const CommandLine& command);

private:
    // The record now: the block when the monitor runs, else the files (said on err_); false
    // when the monitor runs but its block cannot be read.
    bool LoadNow(StateRecord& state, std::string& source);
    int Read(const CommandLine& command, const StateRecord& state, const std::string& source);
    int History(const CommandLine& command, const StateRecord& now, const std::string& source);
    // Before an import or a restore: the profiles as they stand go to the history.
    void KeepHistory(const CommandLine& command);
    int Export(const CommandLine& command, const StateRecord& state, const std::string& source);
    int Change(const CommandLine& command);
    int Refuse(const CommandLine& command, const std::string& why);
    int Fail(const CommandLine& command, int status, const std::string& message);
    // Empty when the keyboard is present; else why not, naming config.ini.
    std::string KeyboardAbsence();

    IStateBlock& block_;
    IMonitorLink& monitor_;
    IProfileFiles& files_;
    std::ostream& out_;
    std::ostream& err_;
    json::ToUtf8 toUtf8_;
};

// The object a failed run prints on standard output under --json.
std::string ErrorJson(const std::string& command, const std::string& message, int status,
                      const json::ToUtf8& toUtf8 = {});

}  // namespace brenik::settings
