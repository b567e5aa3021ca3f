#pragma once
// The settings tool's command line:
//
//   BrenikSettings [--json] [--timeout SECONDS] [--force] COMMAND
//     list                        the five profiles
//     show P                      every setting of profile P
//     set P FIELD VALUE           change one field (--help lists the fields)
//     key P K standard | single CODE [MODIFIER] | macro NAME ACTIONS | program PATH | launch VALUE [NAME]
//     switch P                    make P the current profile
//     export P FILE               write profile P to a new profile file (--force: replace one)
//     import P FILE               read profile P from a profile file
//     history                     the copies of the profiles kept before they were overwritten
//     restore N                   bring copy N of the history back (1 is the newest)
//   BrenikSettings /? | -h | --help
//
// P is 1..5 as on the keyboard's profile keys, K is 1..42. Options may stand anywhere;
// "--timeout=S" is taken too. Only the exact option words count as options, so a macro's
// actions may begin with "-". Which field and which values are valid is checked later
// (the answer is "refused", not "usage").

#include <optional>
#include <string>
#include <vector>

namespace brenik::settings {

enum class Verb { kHelp, kList, kShow, kSet, kKey, kSwitch, kExport, kImport, kHistory, kRestore };

struct CommandLine {
    Verb verb = Verb::kHelp;
    int profile = 0;  // 1..5
    int key = 0;      // 1..42
    int copy = 0;     // restore: the history copy, 1 the newest
    std::string field;
    std::string value;
    std::vector<std::string> assignment;  // the words after K
    std::string file;
    bool json = false;
    bool force = false;  // export may replace an existing file
    int timeoutSeconds = 30;
};

constexpr int kDefaultTimeoutSeconds = 30;
constexpr int kMaxTimeoutSeconds = 3600;

struct ParsedCommandLine {
    std::optional<CommandLine> command;
    std::string error;  // when command is empty
};

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// The text of --help: commands, fields with their ranges and flags, the macro grammar, the
// exit statuses.
std::string HelpText();

}  // namespace brenik::settings
