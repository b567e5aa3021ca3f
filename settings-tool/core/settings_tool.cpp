#include "settings_tool.h"

#include "copied_profiles.h"
#include "copy_differences.h"
#include "debug_output.h"
#include "exit_codes.h"
#include "key_assignment.h"
#include "profile_edit.h"
#include "profile_export.h"
#include "profile_fields.h"
#include "profile_report.h"
#include "record_editor.h"

#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace brenik::settings {
namespace {

const char* VerbWord(Verb verb) {
    switch (verb) {
        case Verb::kList: return "list";
        case Verb::kShow: return "show";
        case Verb::kSet: return "set";
        case Verb::kKey: return "key";
        case Verb::kSwitch: return "switch";
        case Verb::kExport: return "export";
        case Verb::kImport: return "import";
        case Verb::kHistory: return "history";
        case Verb::kRestore: return "restore";
        case Verb::kHelp: break;
    }
    return "help";
}

// The change the command asks for, checked in full; empty, with error saying why, when it
// is refused.
std::optional<editing::ProfileEdit> Prepare(const CommandLine& command, IProfileFiles& files, std::string& error) {
    const int p = command.profile - 1;
    switch (command.verb) {
        case Verb::kSet: {
            const editing::ProfileField* field = editing::FindProfileField(command.field);
            if (field == nullptr) {
                error = "unknown field \"" + command.field + "\" (BrenikSettings --help lists them)";
                return std::nullopt;
            }
            if (!field->editable) {
                error = "\"" + command.field + "\" is read-only: show lists it, set cannot change it";
                return std::nullopt;
            }
            return editing::FieldEdit(p, *field, command.value, error);
        }
        case Verb::kKey: return editing::KeyEdit(p, command.key - 1, command.assignment, error);
        case Verb::kSwitch: return editing::SwitchEdit(p);
        case Verb::kImport: return editing::ImportEdit(p, command.file, files.Storage(), error);
        case Verb::kRestore: {
            const std::vector<history::HistoryEntry> entries = files.History().List();
            if (command.copy > static_cast<int>(entries.size())) {
                error = "there is no copy " + std::to_string(command.copy) + ": the history holds " +
                        std::to_string(entries.size()) + " (BrenikSettings history lists them)";
                return std::nullopt;
            }
            const history::HistoryEntry& entry = entries[static_cast<std::size_t>(command.copy - 1)];
            if (entry.damaged) {
                error = "copy " + std::to_string(command.copy) + " (" + entry.file + ") is damaged: " + entry.error;
                return std::nullopt;
            }
            return history::RestoreEdit(entry.copy, command.copy, error);
        }
        default:
            error = "not a change";
            return std::nullopt;
    }
}

// What a written change does not reach on the keyboard, for standard error.
std::vector<std::string> Notes(const CommandLine& command, const ProfileRecord& written) {
    std::vector<std::string> notes;
    const std::string profile = std::to_string(command.profile);
    if (command.verb == Verb::kKey) {
        const int k = command.key - 1;
        if (written.HDDKeyboard == 0) {
            notes.push_back("key assignments are off for profile " + profile +
                            ", so the keyboard is not sent this key; they go to it with \"set " + profile +
                            " key-assignments on\"");
        }
        const std::uint8_t type = written.MacroKeyInfo[k].FunctionType;
        if (!editing::HasKeyBlock(k) && type != kFunctionMacro && type != kFunctionLaunchEntry) {
            notes.push_back("key " + std::to_string(command.key) +
                            " has no key entry on the keyboard: the monitor keeps this assignment, but nothing is sent");
        }
    }
    if (command.verb == Verb::kSet && command.field == "key-assignments") {
        notes.push_back(written.HDDKeyboard != 0
                            ? "every key assignment of profile " + profile + " is sent to the keyboard"
                            : "the monitor no longer sends the key assignments of profile " + profile + " to the keyboard");
    }
    return notes;
}

// The change turn and the answer window, given back however the change ends.
class ChangeSession {
public:
    explicit ChangeSession(IMonitorLink& link) : link_(link) {}
    ~ChangeSession() {
        if (window_) link_.CloseAnswerWindow();
        if (turn_) link_.EndChangeTurn();
    }
    ChangeSession(const ChangeSession&) = delete;
    ChangeSession& operator=(const ChangeSession&) = delete;

    bool TakeTurn(int timeoutMs) { return turn_ = link_.TakeChangeTurn(timeoutMs); }
    bool OpenWindow() {
        window_ = true;
        return link_.OpenAnswerWindow();
    }

private:
    IMonitorLink& link_;
    bool turn_ = false;
    bool window_ = false;
};

// Why a change keeps the profiles in the history first: it replaces whole profiles.
std::optional<history::HistoryReason> HistoryReasonOf(Verb verb) {
    if (verb == Verb::kImport) return history::HistoryReason::kImport;
    if (verb == Verb::kRestore) return history::HistoryReason::kRestore;
    return std::nullopt;
}

// What a change's line begins with.
std::string Subject(const CommandLine& command) {
    return command.verb == Verb::kRestore ? std::string() : "profile " + std::to_string(command.profile) + ": ";
}

void PrintFlags(std::ostream& out, const std::vector<std::string>& flags) {
    for (std::size_t i = 0; i < flags.size(); ++i) out << (i ? ", " : "") << flags[i];
}

}  // namespace

std::string ErrorJson(const std::string& command, const std::string& message, int status, const json::ToUtf8& toUtf8) {
    json::JsonWriter json(toUtf8);
    json.BeginObject().Key("command").String(command).Key("error").String(message).Key("status").Number(status).EndObject();
    return json.Text() + "\n";
}

int SettingsTool::Run(const CommandLine& command) {
    switch (command.verb) {
        case Verb::kHelp:
            out_ << HelpText();
            return kExitOk;
        case Verb::kList:
        case Verb::kShow:
        case Verb::kExport:
        case Verb::kHistory: {
            auto state = std::make_unique<StateRecord>();
            std::string source;
            if (!LoadNow(*state, source)) {
                return Fail(command, kExitFailed, "the monitor runs, but its shared block could not be read");
            }
            return command.verb == Verb::kHistory ? History(command, *state, source) : Read(command, *state, source);
        }
        default:
            return Change(command);
    }
}

int SettingsTool::Fail(const CommandLine& command, int status, const std::string& message) {
    err_ << "BrenikSettings " << VerbWord(command.verb) << ": " << message << "\n";
    if (command.json) out_ << ErrorJson(VerbWord(command.verb), message, status, toUtf8_);
    return status;
}

int SettingsTool::Refuse(const CommandLine& command, const std::string& why) {
    DebugPrintf("BrenikSettings refused %s: %s\n", VerbWord(command.verb), why.c_str());
    return Fail(command, kExitRefused, why);
}

std::string SettingsTool::KeyboardAbsence() {
    const std::string path = monitor_.ConfigIniPath();
    switch (monitor_.Keyboard()) {
        case KeyboardPresence::kPresent: return {};
        case KeyboardPresence::kAbsent: return "the keyboard is not present (\"Device\" is not 1 in " + path + ")";
        case KeyboardPresence::kNoValue:
            return "the keyboard is not known to be present: " + path + " has no \"Device\" value";
        case KeyboardPresence::kNoConfigFile:
            return "there is no " + path + " (BrenikSettings.exe belongs in the monitor's folder)";
    }
    return "the keyboard's presence cannot be read";
}

bool SettingsTool::LoadNow(StateRecord& state, std::string& source) {
    std::memset(&state, 0, sizeof state);
    source = "monitor";
    if (monitor_.MonitorRunning()) return block_.Read(state);
    if (files_.LoadAll(state) == 0) {
        source = "defaults";
        err_ << "BrenikSettings: the monitor is not running and there are no profile files in " << files_.ProfileFolder()
             << "; these are the defaults the monitor would start with\n";
    } else {
        source = "files";
        err_ << "BrenikSettings: the monitor is not running; reading the profile files in " << files_.ProfileFolder()
             << "\n";
    }
    return true;
}

int SettingsTool::Read(const CommandLine& command, const StateRecord& state, const std::string& source) {
    if (command.verb == Verb::kList) {
        out_ << (command.json ? ListJson(state, source, toUtf8_) : ListText(state));
        return kExitOk;
    }
    if (command.verb == Verb::kShow) {
        out_ << (command.json ? ShowJson(state, command.profile, source, toUtf8_) : ShowText(state, command.profile));
        return kExitOk;
    }
    return Export(command, state, source);
}

int SettingsTool::Export(const CommandLine& command, const StateRecord& state, const std::string& source) {
    const ProfileRecord& profile = state.Profiles[command.profile - 1];
    switch (editing::ExportProfileFile(profile, command.file, files_.Storage(), command.force)) {
        case editing::ExportOutcome::kWritten: break;
        case editing::ExportOutcome::kExists: return Refuse(command, command.file + " exists; --force replaces it");
        case editing::ExportOutcome::kFailed: return Fail(command, kExitFailed, command.file + " could not be written");
    }
    if (command.json) {
        json::JsonWriter json(toUtf8_);
        json.BeginObject().Key("command").String("export").Key("profile").Number(command.profile);
        json.Key("file").String(command.file).Key("source").String(source).EndObject();
        out_ << json.Text() << "\n";
    } else {
        out_ << "profile " << command.profile << " exported to " << command.file << "\n";
    }
    return kExitOk;
}

int SettingsTool::History(const CommandLine& command, const StateRecord& now, const std::string& source) {
    history::ProfileHistory& kept = files_.History();
    const std::vector<history::HistoryEntry> entries = kept.List();
    auto differs = [&](const history::HistoryEntry& entry) {
        return entry.damaged ? "damaged: " + entry.error : history::DifferencesFromNow(entry.copy, now).Text();
    };
    if (command.json) {
        json::JsonWriter json(toUtf8_);
        json.BeginObject().Key("command").String("history").Key("folder").String(kept.Folder());
        json.Key("source").String(source).Key("copies").BeginArray();
        for (const history::HistoryEntry& entry : entries) {
            json.BeginObject().Key("number").Number(entry.number).Key("file").String(entry.file);
            json.Key("bytes").Number(static_cast<std::int64_t>(entry.bytes)).Key("damaged").Bool(entry.damaged);
            if (!entry.damaged) {
                json.Key("when").String(entry.copy.when.local).Key("reason").String(history::ReasonWord(entry.copy.reason));
                json.Key("why").String(history::ReasonSentence(entry.copy.reason));
            }
            json.Key("differs").String(differs(entry)).EndObject();
        }
        json.EndArray().EndObject();
        out_ << json.Text() << "\n";
        return kExitOk;
    }
    if (entries.empty()) {
        out_ << "no copies kept yet in " << kept.Folder() << "\n";
        return kExitOk;
    }
    out_ << "copies of the profiles in " << kept.Folder() << ", newest first (restore N brings one back):\n";
    for (const history::HistoryEntry& entry : entries) {
        out_ << "  " << entry.number << "  ";
        if (entry.damaged) out_ << entry.file;
        else out_ << entry.copy.when.local << "  " << history::ReasonSentence(entry.copy.reason);
        out_ << "\n     " << differs(entry) << "\n";
    }
    return kExitOk;
}

void SettingsTool::KeepHistory(const CommandLine& command) {
    const std::optional<history::HistoryReason> reason = HistoryReasonOf(command.verb);
    if (!reason) return;
    history::ProfileHistory& kept = files_.History();
    switch (kept.Keep(*reason, files_.Now())) {
        case history::KeepOutcome::kKept:
            err_ << "BrenikSettings: the profiles as they were are kept in the history (" << kept.Folder() << ")\n";
            break;
        case history::KeepOutcome::kFailed:
            err_ << "BrenikSettings: the profiles as they were could not be kept in the history (" << kept.Folder()
                 << "); going on\n";
            break;
        default: break;  // the newest copy holds them already, or there are no files yet
    }
}

int SettingsTool::Change(const CommandLine& command) {
    std::string error;
    const std::optional<editing::ProfileEdit> change = Prepare(command, files_, error);
    if (!change) return Refuse(command, error);

    if (!monitor_.MonitorRunning()) return Fail(command, kExitNoMonitor, "the monitor is not running; nothing was changed");
    if (const std::string absent = KeyboardAbsence(); !absent.empty()) {
        return Fail(command, kExitNoMonitor, absent + "; nothing was changed");
    }
    const int timeoutMs = command.timeoutSeconds * 1000;
    ChangeSession session(monitor_);
    if (!session.TakeTurn(timeoutMs)) {
        return Fail(command, kExitFailed,
                    "another BrenikSettings run kept making its change for " + std::to_string(command.timeoutSeconds) +
                        " s; nothing was changed");
    }
    const bool settingsProgram = monitor_.SettingsWindowExists();
    if (!settingsProgram && !session.OpenWindow()) {
        return Fail(command, kExitFailed, "could not open a window for the monitor's answer; nothing was changed");
    }

    KeepHistory(command);
    // Allocated before the lock is taken; the edit runs while the monitor waits for it.
    editing::RecordEditor editor;
    auto now = std::make_unique<StateRecord>();
    const int p = command.profile - 1;
    const editing::FlagMode mode = settingsProgram ? editing::FlagMode::kAdd : editing::FlagMode::kReplace;
    int status = kExitOk;
    bool answered = false;
    bool everWritten = false;
    std::string outcome;
    std::string failure;
    for (int attempt = 1;; ++attempt) {
        const BlockEdit edit = block_.Edit([&](StateRecord& state) { return editor.Apply(*change, state, mode); });
        if (edit == BlockEdit::kUnavailable) {
            return Fail(command, kExitFailed,
                        everWritten ? "the change was lost and could not be made again: the shared block could not be locked"
                                    : "the monitor's shared block could not be opened or locked; nothing was changed");
        }
        if (edit == BlockEdit::kNotWritten) {
            // On a second attempt the monitor's copy already holds the change: it took it.
            outcome = everWritten ? "applied" : "unchanged";
            break;
        }
        everWritten = true;
        if (!monitor_.NotifySettingsChanged()) {
            status = kExitNotAnnounced;
            failure = "the change was written, but the monitor could not be told; it takes the change when it next "
                      "re-reads the block";
            break;
        }
        if (settingsProgram) {
            if (attempt == 1) {
                err_ << "BrenikSettings: the settings program is open, so it receives the monitor's answer; "
                        "the change was applied without waiting for it\n";
            }
            outcome = "applied, answer not awaited";
        } else if (monitor_.WaitForAnswer(timeoutMs)) {
            answered = true;
            outcome = "applied";
        } else {
            status = kExitNoAnswer;
            failure = "the change was written, but the monitor did not answer within " +
                      std::to_string(command.timeoutSeconds) + " s";
            break;
        }
        if (!block_.Read(*now)) {
            err_ << "BrenikSettings: the change could not be read back to check that the monitor kept it\n";
            break;
        }
        if (editor.StillHolds(*change, *now)) break;
        if (attempt == 2) {
            status = kExitOverwritten;
            failure = "the monitor put its own copy over the change before taking it, twice; the change is lost";
            break;
        }
        err_ << "BrenikSettings: the monitor put its own copy over the change before taking it; making it once more\n";
    }

    if (everWritten && p >= 0) {
        for (const std::string& note : Notes(command, editor.Written().Profiles[p])) {
            err_ << "BrenikSettings: " << note << "\n";
        }
    }
    if (!failure.empty()) err_ << "BrenikSettings " << VerbWord(command.verb) << ": " << failure << "\n";

    if (command.json) {
        json::JsonWriter json(toUtf8_);
        json.BeginObject().Key("command").String(VerbWord(command.verb));
        if (command.verb == Verb::kRestore) json.Key("copy").Number(command.copy);
        else json.Key("profile").Number(command.profile);
        json.Key("change").String(change->what).Key("written").Bool(everWritten);
        json.Key("flags").BeginArray();
        for (const std::string& flag : editor.Flags()) json.String(flag);
        json.EndArray().Key("answered").Bool(answered);
        if (!failure.empty()) json.Key("error").String(failure);
        json.Key("status").Number(status).EndObject();
        out_ << json.Text() << "\n";
    } else if (!everWritten) {
        out_ << Subject(command) << change->what << " (already so; nothing sent)\n";
    } else {
        out_ << Subject(command) << change->what;
        if (editor.Flags().empty()) out_ << " (the monitor takes it; nothing for the keyboard)";
        else {
            out_ << " (";
            PrintFlags(out_, editor.Flags());
            out_ << ")";
        }
        out_ << (outcome.empty() ? std::string() : "; " + outcome) << "\n";
    }
    return status;
}

}  // namespace brenik::settings
