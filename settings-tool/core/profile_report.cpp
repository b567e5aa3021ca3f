#include "profile_report.h"

#include "json_writer.h"
#include "key_assignment.h"
#include "key_names.h"
#include "macro_grammar.h"
#include "profile_fields.h"
#include "profile_store.h"

#include <cstring>

namespace brenik::settings {
namespace {

// Keys 1..42 always; entries 43 and 44, which the keyboard does not have, only when assigned.
bool ShowsEntry(const MacroKeyInfo& entry, int k) { return k < kProgrammableKeys || entry.FunctionType != kFunctionStandard; }

std::string TextOf(const char* field, std::size_t size) { return std::string(field, strnlen(field, size)); }

std::string Pad(std::string text, std::size_t width) {
    if (text.size() < width) text.resize(width, ' ');
    return text;
}

void KeyJson(json::JsonWriter& json, const MacroKeyInfo& entry, int k) {
    json.BeginObject().Key("key").Number(k + 1).Key("kind").String(editing::KeyAssignmentKind(entry));
    json.Key("text").String(editing::DescribeKeyAssignment(entry));
    switch (entry.FunctionType) {
        case kFunctionSingleKey:
            json.Key("code").String(editing::FormatKeyUsage(entry.Actions[0].KeyCode));
            json.Key("modifiers").String(editing::FormatModifiers(entry.Actions[0].EventType));
            break;
        case kFunctionMacro: {
            json.Key("name").String(TextOf(entry.MacroName, sizeof entry.MacroName));
            const std::size_t count = entry.ActionCount <= kMaxMacroActions ? entry.ActionCount : 0;
            json.Key("actionCount").Number(entry.ActionCount);
            json.Key("actions").String(editing::FormatMacroActions(entry.Actions, count));
            break;
        }
        case kFunctionLaunchProgram: json.Key("path").String(TextOf(entry.ProgramPath, sizeof entry.ProgramPath)); break;
        case kFunctionLaunchEntry:
            json.Key("value").Number(entry.LaunchValue);
            json.Key("name").String(TextOf(entry.MacroName, sizeof entry.MacroName));
            break;
        default:
            json.Key("functionType").Number(entry.FunctionType);
            break;
    }
    json.EndObject();
}

}  // namespace

std::string ListText(const StateRecord& state) {
    std::string text;
    for (int p = 0; p < kProfileCount; ++p) {
        const ProfileRecord& profile = state.Profiles[p];
        text += (state.CurrentProfile == p ? "* " : "  ") + std::to_string(p + 1) + "  ";
        text += Pad(TextOf(profile.ProFileName, sizeof profile.ProFileName), 24);
        const std::string game = TextOf(profile.GameFile, sizeof profile.GameFile);
        text += game.empty() ? "(no game)" : game;
        text += "\n";
    }
    if (!IsProfileIndex(state.CurrentProfile)) text += "(no current profile)\n";
    return text;
}

std::string ListJson(const StateRecord& state, const std::string& source, const json::ToUtf8& toUtf8) {
    json::JsonWriter json(toUtf8);
    json.BeginObject().Key("source").String(source).Key("current");
    if (IsProfileIndex(state.CurrentProfile)) json.Number(state.CurrentProfile + 1);
    else json.Null();
    json.Key("profiles").BeginArray();
    for (int p = 0; p < kProfileCount; ++p) {
        const ProfileRecord& profile = state.Profiles[p];
        json.BeginObject().Key("profile").Number(p + 1);
        json.Key("name").String(TextOf(profile.ProFileName, sizeof profile.ProFileName));
        json.Key("game").String(TextOf(profile.GameFile, sizeof profile.GameFile));
        json.Key("current").Bool(state.CurrentProfile == p).EndObject();
    }
    json.EndArray().EndObject();
    return json.Text() + "\n";
}

std::string ShowText(const StateRecord& state, int profile) {
    const ProfileRecord& record = state.Profiles[profile - 1];
    std::string text = "Profile " + std::to_string(profile) + (state.CurrentProfile == profile - 1 ? " (current)" : "") + "\n";
    for (const editing::ProfileField& field : editing::ProfileFields()) {
        text += "  " + Pad(field.name, 24) + editing::FormatFieldValue(field, record) + "\n";
    }
    int differing = 0;
    std::string keys;
    for (int i = 0; i < kStandardKeyCount; ++i) {
        if (record.standardkey[i] == kDefaultStandardKeys[i]) continue;
        ++differing;
        keys += "    standard key " + std::to_string(i + 1) + ": " + editing::FormatKeyUsage(kDefaultStandardKeys[i]) +
                " -> " + editing::FormatKeyUsage(record.standardkey[i]) + "\n";
    }
    text += "  standard keys           " + (differing == 0   ? std::string("all as default")
                                              : std::to_string(differing) + (differing == 1 ? " differs" : " differ") +
                                                    " from the default") + "\n" + keys;
    text += "  key assignments\n";
    for (int k = 0; k < kKeyEntryCount; ++k) {
        const MacroKeyInfo& entry = record.MacroKeyInfo[k];
        if (!ShowsEntry(entry, k)) continue;
        text += "    " + Pad("key " + std::to_string(k + 1), 8) + editing::DescribeKeyAssignment(entry) + "\n";
    }
    return text;
}

std::string ShowJson(const StateRecord& state, int profile, const std::string& source, const json::ToUtf8& toUtf8) {
    const ProfileRecord& record = state.Profiles[profile - 1];
    json::JsonWriter json(toUtf8);
    json.BeginObject().Key("source").String(source).Key("profile").Number(profile);
    json.Key("current").Bool(state.CurrentProfile == profile - 1);
    json.Key("fields").BeginObject();
    for (const editing::ProfileField& field : editing::ProfileFields()) {
        json.Key(field.name);
        if (field.kind == editing::ValueKind::kText) {
            json.String(editing::FieldText(field, record));
            continue;
        }
        const std::int32_t value = record.*field.integer;
        if (field.kind == editing::ValueKind::kInteger || value < field.low || value > field.high) json.Number(value);
        else json.String(editing::FormatFieldValue(field, record));
    }
    json.EndObject().Key("standardKeys").BeginArray();
    for (int i = 0; i < kStandardKeyCount; ++i) {
        if (record.standardkey[i] == kDefaultStandardKeys[i]) continue;
        json.BeginObject().Key("index").Number(i + 1);
        json.Key("default").String(editing::FormatKeyUsage(kDefaultStandardKeys[i]));
        json.Key("now").String(editing::FormatKeyUsage(record.standardkey[i])).EndObject();
    }
    json.EndArray().Key("keys").BeginArray();
    for (int k = 0; k < kKeyEntryCount; ++k) {
        if (ShowsEntry(record.MacroKeyInfo[k], k)) KeyJson(json, record.MacroKeyInfo[k], k);
    }
    json.EndArray().EndObject();
    return json.Text() + "\n";
}

}  // namespace brenik::settings
