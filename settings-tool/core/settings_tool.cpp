#include "settings_tool.h"

#include "change_flags.h"
#include "debug_output.h"
#include "exit_codes.h"
#include "json_text.h"
#include "key_assignment.h"
#include "profile_fields.h"
#include "profile_import.h"
#include "profile_report.h"
#include "profile_store.h"

#include <cstring>
#include <memory>

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
        case Verb::kHelp: break;
    }
    return "help";
}

// A change checked in full, ready to be made on the record under the lock.
struct PreparedChange {
    std::function<void(StateRecord&)> apply;
    std::string what;              // for the result line
    bool forceProfileFlag = false;  // switch: the keyboard is told even when the index stands
};

bool Prepare(const CommandLine& command, IProfileFiles& files, PreparedChange& change, std::string& error) {
    const int p = command.profile - 1;
    switch (command.verb) {
        case Verb::kSet: {
            const ProfileField* field = FindProfileField(command.field);
            if (field == nullptr || !field->editable) {
                error = "unknown field \"" + command.field + "\" (BrenikSettings --help lists them)";
                return false;
            }
            const auto value = ParseFieldValue(*field, command.value, error);
            if (!value) return false;
            change.apply = [field, value = *value, p](StateRecord& state) { StoreFieldValue(*field, value, state.Profiles[p]); };
            change.what = std::string(field->name) + " = " + command.value;
            return true;
        }
        case Verb::kKey: {
            const auto entry = BuildKeyAssignment(command.assignment, command.key - 1, error);
            if (!entry) {
                error = "key " + std::to_string(command.key) + ": " + error;
                return false;
            }
            auto shared = std::make_shared<MacroKeyInfo>(*entry);
            change.apply = [shared, p, k = command.key - 1](StateRecord& state) { state.Profiles[p].MacroKeyInfo[k] = *shared; };
            change.what = "key " + std::to_string(command.key) + " = " + DescribeKeyAssignment(*entry);
            return true;
        }
        case Verb::kSwitch:
            change.apply = [p](StateRecord& state) { state.CurrentProfile = p; };
            change.what = "current profile = " + std::to_string(command.profile);
            change.forceProfileFlag = true;
            return true;
        case Verb::kImport: {
            auto imported = std::make_shared<ProfileRecord>();
            std::memset(imported.get(), 0, sizeof *imported);
            if (!ImportProfileFile(command.file, files.Storage(), *imported, error)) return false;
            change.apply = [imported, p](StateRecord& state) {
                const std::int32_t layer = state.Profiles[p].ExtendedMode;  // live state, not a setting
                state.Profiles[p] = *imported;
                state.Profiles[p].ExtendedMode = layer;
            };
            change.what = "imported " + command.file;
            return true;
        }
        default:
            error = "not a change";
            return false;
    }
}

void PrintFlags(std::ostream& out, const std::vector<std::string>& flags) {
    for (std::size_t i = 0; i < flags.size(); ++i) out << (i ? ", " : "") << flags[i];
}

}  // namespace

int SettingsTool::Run(const CommandLine& command) {
    switch (command.verb) {
        case Verb::kHelp:
            out_ << HelpText();
            return kExitOk;
        case Verb::kList:
        case Verb::kShow:
        case Verb::kExport:
            return Read(command);
        default:
            return Change(command);
    }
}

int SettingsTool::Refuse(const CommandLine& command, const std::string& why) {
    err_ << "BrenikSettings " << VerbWord(command.verb) << ": " << why << "\n";
    DebugPrintf("BrenikSettings refused %s: %s\n", VerbWord(command.verb), why.c_str());
    return kExitRefused;
}

int SettingsTool::Read(const CommandLine& command) {
    auto state = std::make_unique<StateRecord>();
    std::memset(state.get(), 0, sizeof *state);
    std::string source = "monitor";
    if (monitor_.MonitorRunning()) {
        if (!block_.Read(*state)) {
            err_ << "BrenikSettings: the monitor runs, but its shared block could not be read\n";
            return kExitFailed;
        }
    } else {
        source = "files";
        err_ << "BrenikSettings: the monitor is not running; reading the profile files\n";
        files_.LoadAll(*state);
    }
    if (command.verb == Verb::kList) {
        out_ << (command.json ? ListJson(*state, source) : ListText(*state));
        return kExitOk;
    }
    if (command.verb == Verb::kShow) {
        out_ << (command.json ? ShowJson(*state, command.profile, source) : ShowText(*state, command.profile));
        return kExitOk;
    }
    if (!SaveProfileFile(state->Profiles[command.profile - 1], command.file, files_.Storage())) {
        err_ << "BrenikSettings export: " << command.file << " could not be written\n";
        return kExitFailed;
    }
    if (command.json) {
        JsonWriter json;
        json.BeginObject().Key("command").String("export").Key("profile").Number(command.profile);
        json.Key("file").String(command.file).Key("source").String(source).EndObject();
        out_ << json.Text() << "\n";
    } else {
        out_ << "profile " << command.profile << " exported to " << command.file << "\n";
    }
    return kExitOk;
}

int SettingsTool::Change(const CommandLine& command) {
    PreparedChange change;
    std::string error;
    if (!Prepare(command, files_, change, error)) return Refuse(command, error);

    if (!monitor_.MonitorRunning()) {
        err_ << "BrenikSettings: the monitor is not running; nothing was changed\n";
        return kExitNoMonitor;
    }
    if (!monitor_.KeyboardPresent()) {
        err_ << "BrenikSettings: the keyboard is not present; nothing was changed\n";
        return kExitNoMonitor;
    }
    const bool settingsProgram = monitor_.SettingsWindowExists();
    if (!settingsProgram && !monitor_.OpenAnswerWindow()) {
        err_ << "BrenikSettings: could not open a window for the monitor's answer; nothing was changed\n";
        return kExitFailed;
    }

    std::vector<std::string> flags;
    const BlockEdit edit = block_.Edit([&](StateRecord& state) {
        auto before = std::make_unique<StateRecord>(state);
        change.apply(state);
        SetFlagsOfDifferences(*before, state);
        if (change.forceProfileFlag) state.ProfileChanged = 1;
        if (std::memcmp(before->Profiles, state.Profiles, sizeof state.Profiles) == 0 && !change.forceProfileFlag) return false;
        flags = RaisedFlags(state);
        return true;
    });

    int status = kExitOk;
    bool answered = false;
    const char* outcome = "";
    if (edit == BlockEdit::kUnavailable) {
        err_ << "BrenikSettings: the monitor's shared block could not be opened or locked; nothing was changed\n";
        status = kExitFailed;
    } else if (edit == BlockEdit::kNotWritten) {
        outcome = "unchanged";
    } else if (!monitor_.NotifySettingsChanged()) {
        err_ << "BrenikSettings: the change was written, but the monitor could not be told\n";
        status = kExitNoMonitor;
    } else if (settingsProgram) {
        err_ << "BrenikSettings: the settings program is open, so it receives the monitor's answer; "
                "the change was applied without waiting for it\n";
        outcome = "applied, answer not awaited";
    } else if (monitor_.WaitForAnswer(command.timeoutSeconds * 1000)) {
        answered = true;
        outcome = "applied";
    } else {
        err_ << "BrenikSettings: the change was written, but the monitor did not answer within " << command.timeoutSeconds
             << " s\n";
        status = kExitNoAnswer;
    }
    if (!settingsProgram) monitor_.CloseAnswerWindow();
    if (edit == BlockEdit::kUnavailable) return status;

    if (command.json) {
        JsonWriter json;
        json.BeginObject().Key("command").String(VerbWord(command.verb)).Key("profile").Number(command.profile);
        json.Key("change").String(change.what).Key("written").Bool(edit == BlockEdit::kWritten);
        json.Key("flags").BeginArray();
        for (const std::string& flag : flags) json.String(flag);
        json.EndArray().Key("answered").Bool(answered).Key("status").Number(status).EndObject();
        out_ << json.Text() << "\n";
    } else if (edit == BlockEdit::kNotWritten) {
        out_ << "profile " << command.profile << ": " << change.what << " (already so; nothing sent)\n";
    } else {
        out_ << "profile " << command.profile << ": " << change.what;
        if (flags.empty()) out_ << " (the monitor takes it; nothing for the keyboard)";
        else {
            out_ << " (";
            PrintFlags(out_, flags);
            out_ << ")";
        }
        out_ << (outcome[0] ? std::string("; ") + outcome : std::string()) << "\n";
    }
    return status;
}

}  // namespace brenik::settings
