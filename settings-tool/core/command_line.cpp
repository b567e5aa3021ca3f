#include "command_line.h"

#include "key_names.h"
#include "profile_fields.h"
#include "profile_record.h"

namespace brenik::settings {
namespace {

struct VerbForm {
    const char* word;
    Verb verb;
    std::size_t minWords;  // including the verb
    std::size_t maxWords;
    const char* form;
};

constexpr std::size_t kUnbounded = 64;
// Past the history's bound, so that an old number is "no such copy", not a usage error.
constexpr int kMaxHistoryNumber = 999;

constexpr VerbForm kVerbs[] = {
    {"list", Verb::kList, 1, 1, "list"},
    {"show", Verb::kShow, 2, 2, "show P"},
    {"set", Verb::kSet, 4, 4, "set P FIELD VALUE"},
    {"key", Verb::kKey, 4, kUnbounded, "key P K standard|single|macro|program|launch ..."},
    {"switch", Verb::kSwitch, 2, 2, "switch P"},
    {"export", Verb::kExport, 3, 3, "export P FILE"},
    {"import", Verb::kImport, 3, 3, "import P FILE"},
    {"history", Verb::kHistory, 1, 1, "history"},
    {"restore", Verb::kRestore, 2, 2, "restore N"},
    {"help", Verb::kHelp, 1, 1, "help"},
};

ParsedCommandLine Fail(std::string error) { return {std::nullopt, std::move(error)}; }

bool IsHelpWord(const std::string& word) { return word == "/?" || word == "-h" || word == "--help"; }

bool ParseTimeout(const std::string& text, CommandLine& command, std::string& error) {
    const auto seconds = editing::ParseNumber(text, 1, kMaxTimeoutSeconds);
    if (!seconds) {
        error = "--timeout: \"" + text + "\" is not 1.." + std::to_string(kMaxTimeoutSeconds) + " seconds";
        return false;
    }
    command.timeoutSeconds = static_cast<int>(*seconds);
    return true;
}

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine command;
    std::vector<std::string> words;
    bool help = false;
    std::string error;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& word = arguments[i];
        if (IsHelpWord(word)) {
            help = true;
        } else if (word == "--json") {
            command.json = true;
        } else if (word == "--force") {
            command.force = true;
        } else if (word == "--timeout") {
            if (i + 1 == arguments.size()) return Fail("--timeout needs a number of seconds");
            if (!ParseTimeout(arguments[++i], command, error)) return Fail(error);
        } else if (word.rfind("--timeout=", 0) == 0) {
            if (!ParseTimeout(word.substr(10), command, error)) return Fail(error);
        } else if (word.rfind("--", 0) == 0 && word.size() > 2) {
            return Fail("unknown option \"" + word + "\"");
        } else {
            words.push_back(word);
        }
    }
    if (help) {
        command.verb = Verb::kHelp;
        return {command, ""};
    }
    if (words.empty()) return Fail("no command given");
    const VerbForm* form = nullptr;
    for (const VerbForm& candidate : kVerbs) {
        if (words[0] == candidate.word) form = &candidate;
    }
    if (form == nullptr) return Fail("unknown command \"" + words[0] + "\"");
    if (words.size() < form->minWords || words.size() > form->maxWords) {
        return Fail(std::string("expected: ") + form->form);
    }
    command.verb = form->verb;
    if (command.verb == Verb::kRestore) {
        const auto copy = editing::ParseNumber(words[1], 1, kMaxHistoryNumber);
        if (!copy || words[1].find_first_of("xX") != std::string::npos) {
            return Fail("copy \"" + words[1] + "\" is not 1.." + std::to_string(kMaxHistoryNumber) +
                        " (BrenikSettings history lists them)");
        }
        command.copy = static_cast<int>(*copy);
        return {command, ""};
    }
    if (words.size() > 1) {
        const auto profile = editing::ParseNumber(words[1], 1, kProfileCount);
        if (!profile || words[1].find_first_of("xX") != std::string::npos) {
            return Fail("profile \"" + words[1] + "\" is not 1.." + std::to_string(kProfileCount));
        }
        command.profile = static_cast<int>(*profile);
    }
    switch (command.verb) {
        case Verb::kSet:
            command.field = words[2];
            command.value = words[3];
            break;
        case Verb::kKey: {
            const auto key = editing::ParseNumber(words[2], 1, kProgrammableKeys);
            if (!key || words[2].find_first_of("xX") != std::string::npos) {
                return Fail("key \"" + words[2] + "\" is not 1.." + std::to_string(kProgrammableKeys));
            }
            command.key = static_cast<int>(*key);
            command.assignment.assign(words.begin() + 3, words.end());
            break;
        }
        case Verb::kExport:
        case Verb::kImport:
            command.file = words[2];
            break;
        default:
            break;
    }
    return {command, ""};
}

std::string HelpText() {
    std::string text =
        "BrenikSettings: reads and changes the keyboard's profiles through the running monitor,\n"
        "the same way the settings program does.\n"
        "\n"
        "Usage: BrenikSettings [--json] [--timeout SECONDS] [--force] COMMAND\n"
        "  list                       the five profiles: number, name, game, which is current\n"
        "  show P                     every setting of profile P\n"
        "  set P FIELD VALUE          change one field of profile P (fields below)\n"
        "  key P K standard           key K keeps its standard function\n"
        "  key P K single CODE [MODIFIER]     key K sends one key (MODIFIER: LCtrl+LShift, 0..255)\n"
        "  key P K macro NAME ACTIONS key K plays a macro, e.g. \"+LShift, +A 50, -A, -LShift\"\n"
        "  key P K program PATH       key K starts a program\n"
        "  key P K launch VALUE [NAME]        key K is a launch entry\n"
        "  switch P                   make profile P the current one\n"
        "  export P FILE              write profile P to a new profile file (--force: replace FILE)\n"
        "  import P FILE              replace profile P with a profile file's settings\n"
        "  history                    the copies of the profiles kept before they were\n"
        "                             overwritten: when, why, what differs from now\n"
        "  restore N                  bring copy N back (1 is the newest), on the keyboard too\n"
        "  /?, -h, --help             this text\n"
        "P: profile 1..5. K: key 1..42.\n"
        "--json: print the result as JSON (a refusal too: {\"error\": ..., \"status\": n}).\n"
        "--timeout: seconds to wait for the monitor's answer, and for another run of the tool\n"
        "to finish its change (default 30).\n"
        "\n"
        "Changes need the monitor running and the keyboard present (\"Device\" = 1 in config.ini\n"
        "beside the tool). One change runs at a time. list, show and export read the profile\n"
        "files when the monitor is not running. After the answer the tool reads the change back;\n"
        "if the monitor replaced it meanwhile (a profile key, say), it is made once more.\n"
        "Before an import or a restore the profiles as they were are kept in the history\n"
        "(config\\History\\ beside the monitor: the last 20 copies, at most 4 MB), as the\n"
        "monitor keeps them before it reads the keyboard's settings back over them.\n"
        "Key assignments reach the keyboard only while key-assignments is on (turning it on\n"
        "sends every key of the profile); keys 23..37 have no key entry on the keyboard, so only\n"
        "a macro or launch entry there is sent.\n"
        "\n"
        "Macro actions: +KEY press, -KEY release, each optionally followed by a delay in ms\n"
        "(0..65535), separated by commas; at most 400. KEY: A..Z, 0..9, F1..F12, Enter, Esc,\n"
        "Backspace, Tab, Space, Right, Left, Down, Up, LCtrl, LShift, LAlt, LWin, RCtrl, RShift,\n"
        "RAlt, RWin, or a usage number 0x00..0xFF.\n"
        "\n"
        "Fields of set (values; what the keyboard is sent on a change):\n";
    for (const editing::ProfileField& field : editing::ProfileFields()) {
        if (!field.editable) continue;
        std::string line = "  " + std::string(field.name);
        line.resize(26, ' ');
        line += editing::DescribeRange(field);
        if (line.size() < 50) line.resize(50, ' ');
        else line += ' ';
        line += field.flag == editing::FlagGroup::kLighting       ? "lighting"
                : field.flag == editing::FlagGroup::kLockKeys     ? "locked keys"
                : field.integer == &ProfileRecord::HDDKeyboard    ? "every key, when turned on"
                                                                  : "(monitor only)";
        text += line + "\n";
    }
    text +=
        "\n"
        "Exit status: 0 done; 1 a file or the shared block could not be read or written, or\n"
        "another run kept its change going past the time limit (nothing written); 2 usage error;\n"
        "3 refused input (nothing written); 4 monitor not running or keyboard absent (nothing\n"
        "written); 5 no answer from the monitor in time (the change was made); 6 written, not\n"
        "announced: the monitor could not be told (it takes the change at its next re-read);\n"
        "7 lost: the monitor replaced the change before taking it, twice.\n";
    return text;
}

}  // namespace brenik::settings
