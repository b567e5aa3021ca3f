#pragma once
// The settings tool's exit statuses; --help lists them. Scripts tell a refused value from a
// monitor that is not running and from one that did not answer.

namespace brenik::settings {

enum ExitCode : int {
    kExitOk = 0,
    kExitFailed = 1,      // a file or the shared block could not be read or written, or no turn
    kExitUsage = 2,       // the command line is not a command
    kExitRefused = 3,     // a value out of range, an unknown field, a malformed file: nothing written
    kExitNoMonitor = 4,   // the monitor is not running, or the keyboard is not present: nothing written
    kExitNoAnswer = 5,    // the change was made, but the monitor did not answer in time
    kExitNotAnnounced = 6,  // the change was written, but the monitor could not be told
    kExitOverwritten = 7,   // the monitor published its own copy over the change, twice
};

}  // namespace brenik::settings
