#include "key_assignment.h"

#include "key_names.h"
#include "macro_grammar.h"

#include <cstdio>
#include <cstring>
#include <limits>

namespace brenik::editing {
namespace {

std::string FieldString(const char* field, std::size_t size) { return std::string(field, strnlen(field, size)); }

bool StoreName(const std::string& name, char (&field)[kKeyEntryNameBytes], std::string& error) {
    if (name.size() >= kKeyEntryNameBytes || name.empty()) {
        error = "a name of 1 to " + std::to_string(kKeyEntryNameBytes - 1) + " characters, not " +
                std::to_string(name.size());
        return false;
    }
    std::memcpy(field, name.data(), name.size());
    return true;
}

bool Expect(const std::vector<std::string>& words, std::size_t low, std::size_t high, const char* form, std::string& error) {
    if (words.size() >= low && words.size() <= high) return true;
    error = std::string("expected: ") + form;
    return false;
}

}  // namespace

std::optional<MacroKeyInfo> BuildKeyAssignment(const std::vector<std::string>& words, int index, std::string& error) {
    if (words.empty()) {
        error = "expected standard, single, macro, program or launch";
        return std::nullopt;
    }
    MacroKeyInfo entry{};
    entry.KeyIndex = static_cast<std::uint8_t>(index);
    const std::string& kind = words[0];
    if (kind == "standard") {
        if (!Expect(words, 1, 1, "standard", error)) return std::nullopt;
        entry.FunctionType = kFunctionStandard;
    } else if (kind == "single") {
        if (!Expect(words, 2, 3, "single CODE [MODIFIER]", error)) return std::nullopt;
        const auto usage = ParseKeyUsage(words[1]);
        if (!usage) {
            error = "unknown key \"" + words[1] + "\" (a key name or 0x00..0xFF)";
            return std::nullopt;
        }
        const auto modifiers = words.size() == 3 ? ParseModifiers(words[2]) : std::optional<std::uint8_t>(0);
        if (!modifiers) {
            error = "modifier \"" + words[2] + "\" is not 0..255 or names such as LCtrl+LShift";
            return std::nullopt;
        }
        entry.FunctionType = kFunctionSingleKey;
        entry.ActionCount = 1;
        entry.Actions[0].KeyCode = *usage;
        entry.Actions[0].EventType = *modifiers;
    } else if (kind == "macro") {
        if (!Expect(words, 3, 3, "macro NAME ACTIONS (the actions as one argument)", error)) return std::nullopt;
        if (!StoreName(words[1], entry.MacroName, error)) {
            error = "macro name: " + error;
            return std::nullopt;
        }
        std::memcpy(entry.EntryName, entry.MacroName, sizeof entry.EntryName);
        const MacroParse parsed = ParseMacroActions(words[2]);
        if (!parsed.Ok()) {
            error = "macro actions: " + parsed.error;
            return std::nullopt;
        }
        entry.FunctionType = kFunctionMacro;
        entry.ActionCount = static_cast<std::uint16_t>(parsed.actions.size());
        std::memcpy(entry.Actions, parsed.actions.data(), parsed.actions.size() * sizeof(MacroAction));
    } else if (kind == "program") {
        if (!Expect(words, 2, 2, "program PATH", error)) return std::nullopt;
        if (words[1].empty() || words[1].size() >= kProgramPathBytes) {
            error = "program path of 1 to " + std::to_string(kProgramPathBytes - 1) + " characters, not " +
                    std::to_string(words[1].size());
            return std::nullopt;
        }
        entry.FunctionType = kFunctionLaunchProgram;
        std::memcpy(entry.ProgramPath, words[1].data(), words[1].size());
    } else if (kind == "launch") {
        if (!Expect(words, 2, 3, "launch VALUE [NAME]", error)) return std::nullopt;
        const auto value = ParseNumber(words[1], 0, std::numeric_limits<std::uint32_t>::max());
        if (!value) {
            error = "launch value \"" + words[1] + "\" is not 0..4294967295";
            return std::nullopt;
        }
        if (words.size() == 3 && !StoreName(words[2], entry.MacroName, error)) {
            error = "launch name: " + error;
            return std::nullopt;
        }
        entry.FunctionType = kFunctionLaunchEntry;
        entry.LaunchValue = static_cast<std::uint32_t>(*value);
    } else {
        error = "unknown assignment \"" + kind + "\" (standard, single, macro, program or launch)";
        return std::nullopt;
    }
    return entry;
}

bool HasKeyBlock(int index) { return (index >= 0 && index <= 21) || (index >= 37 && index <= 41); }

std::string KeyAssignmentKind(const MacroKeyInfo& entry) {
    switch (entry.FunctionType) {
        case kFunctionStandard: return "standard";
        case kFunctionSingleKey: return "single";
        case kFunctionMacro: return "macro";
        case kFunctionLaunchProgram: return "program";
        case kFunctionLaunchEntry: return "launch";
        default: return "other";
    }
}

std::string DescribeKeyAssignment(const MacroKeyInfo& entry) {
    const std::string name = FieldString(entry.MacroName, sizeof entry.MacroName);
    switch (entry.FunctionType) {
        case kFunctionStandard: return "standard";
        case kFunctionSingleKey: {
            std::string text = "single " + FormatKeyUsage(entry.Actions[0].KeyCode);
            if (entry.Actions[0].EventType != 0) text += " " + FormatModifiers(entry.Actions[0].EventType);
            return text;
        }
        case kFunctionMacro: {
            const std::size_t count = entry.ActionCount <= kMaxMacroActions ? entry.ActionCount : 0;
            std::string text = "macro \"" + name + "\": " + FormatMacroActions(entry.Actions, count);
            if (count != entry.ActionCount) text += "(damaged: " + std::to_string(entry.ActionCount) + " actions)";
            return text;
        }
        case kFunctionLaunchProgram: return "program " + FieldString(entry.ProgramPath, sizeof entry.ProgramPath);
        case kFunctionLaunchEntry: {
            std::string text = "launch " + std::to_string(entry.LaunchValue);
            if (!name.empty()) text += " \"" + name + "\"";
            return text;
        }
        default: {
            char code[24];
            std::snprintf(code, sizeof code, "function 0x%02X", entry.FunctionType);
            return code;
        }
    }
}

}  // namespace brenik::editing
