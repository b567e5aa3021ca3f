#include "macro_grammar.h"

#include "key_names.h"

namespace brenik::editing {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// One action's text, already trimmed; error names the action by its number from 1.
bool ParseAction(std::string_view text, std::size_t number, MacroAction& action, std::string& error) {
    const std::string where = "action " + std::to_string(number) + " (\"" + std::string(text) + "\"): ";
    if (text.empty()) {
        error = where + "empty";
        return false;
    }
    if (text[0] != '+' && text[0] != '-') {
        error = where + "must start with + (press) or - (release)";
        return false;
    }
    action.EventType = text[0] == '+' ? kEventPress : kEventRelease;
    text = Trim(text.substr(1));
    std::size_t blank = 0;
    while (blank < text.size() && !IsBlank(text[blank])) ++blank;
    const auto usage = ParseKeyUsage(text.substr(0, blank));
    if (!usage) {
        error = where + "unknown key \"" + std::string(text.substr(0, blank)) + "\" (a key name or 0x00..0xFF)";
        return false;
    }
    action.KeyCode = *usage;
    const std::string_view delay = Trim(text.substr(blank));
    action.DelayMs = 0;
    if (!delay.empty()) {
        const auto ms = delay.find_first_of("xX") == std::string_view::npos ? ParseNumber(delay, 0, 65535) : std::nullopt;
        if (!ms) {
            error = where + "delay \"" + std::string(delay) + "\" is not 0..65535 ms";
            return false;
        }
        action.DelayMs = static_cast<std::uint16_t>(*ms);
    }
    return true;
}

}  // namespace

MacroParse ParseMacroActions(std::string_view text) {
    MacroParse result;
    if (Trim(text).empty()) {
        result.error = "a macro needs at least one action";
        return result;
    }
    std::size_t number = 1;
    while (true) {
        const std::size_t comma = text.find(',');
        MacroAction action{};
        if (!ParseAction(Trim(text.substr(0, comma)), number, action, result.error)) {
            result.actions.clear();
            return result;
        }
        if (result.actions.size() == static_cast<std::size_t>(kMaxMacroActions)) {
            result.actions.clear();
            result.error = "more than " + std::to_string(kMaxMacroActions) + " actions";
            return result;
        }
        result.actions.push_back(action);
        if (comma == std::string_view::npos) return result;
        text.remove_prefix(comma + 1);
        ++number;
    }
}

std::string FormatMacroActions(const MacroAction* actions, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        const MacroAction& action = actions[i];
        if (i > 0) text += ", ";
        if (action.EventType == kEventPress) text += '+';
        else if (action.EventType == kEventRelease) text += '-';
        else text += "?" + std::to_string(action.EventType) + ":";
        text += FormatKeyUsage(action.KeyCode);
        if (action.DelayMs != 0) text += " " + std::to_string(action.DelayMs);
    }
    return text;
}

}  // namespace brenik::editing
