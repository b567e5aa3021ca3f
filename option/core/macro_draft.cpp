#include "macro_draft.h"

#include "key_code_catalogue.h"

#include "key_assignment.h"
#include "macro_grammar.h"

#include <algorithm>
#include <cstring>

namespace brenik::option {
namespace {

constexpr std::size_t kRoom = kMaxMacroActions;

}  // namespace

MacroDraft MacroDraft::FromEntry(const MacroKeyInfo& entry) {
    MacroDraft draft;
    if (entry.FunctionType != kFunctionMacro) return draft;
    draft.name_.assign(entry.MacroName, strnlen(entry.MacroName, sizeof entry.MacroName));
    const std::size_t count = std::min<std::size_t>(entry.ActionCount, kRoom);
    draft.actions_.assign(entry.Actions, entry.Actions + count);
    draft.damaged_ = entry.ActionCount > kRoom;
    return draft;
}

void MacroDraft::SetActions(std::vector<MacroAction> actions) {
    if (actions.size() > kRoom) actions.resize(kRoom);
    actions_ = std::move(actions);
}

bool MacroDraft::Insert(std::size_t at, const MacroAction& action) {
    if (at > actions_.size() || actions_.size() >= kRoom) return false;
    actions_.insert(actions_.begin() + static_cast<std::ptrdiff_t>(at), action);
    return true;
}

bool MacroDraft::Remove(std::size_t at) {
    if (at >= actions_.size()) return false;
    actions_.erase(actions_.begin() + static_cast<std::ptrdiff_t>(at));
    return true;
}

bool MacroDraft::Move(std::size_t at, int by) {
    if (at >= actions_.size()) return false;
    const auto to = static_cast<std::ptrdiff_t>(at) + by;
    if (to < 0 || to >= static_cast<std::ptrdiff_t>(actions_.size())) return false;
    const auto from = actions_.begin() + static_cast<std::ptrdiff_t>(at);
    if (by < 0) std::rotate(actions_.begin() + to, from, from + 1);
    else std::rotate(from, from + 1, actions_.begin() + to + 1);
    return true;
}

bool MacroDraft::SetDelay(std::size_t at, std::uint16_t delayMs) {
    if (at >= actions_.size()) return false;
    actions_[at].DelayMs = delayMs;
    return true;
}

void MacroDraft::SetEveryDelay(std::uint16_t delayMs) {
    for (MacroAction& action : actions_) action.DelayMs = delayMs;
}

std::optional<MacroKeyInfo> MacroDraft::ToEntry(int index, std::string& error) const {
    if (index < 0 || index >= kKeyEntryCount) {
        error = "key entry " + std::to_string(index) + " is not 0.." + std::to_string(kKeyEntryCount - 1);
        return std::nullopt;
    }
    // The keyboard plays the actions as they stand: a press without its release would leave the
    // key down after every playback (an action deleted or moved, a damaged macro cut at 400).
    std::vector<std::uint8_t> held;
    for (const MacroAction& action : actions_) {
        const auto at = std::find(held.begin(), held.end(), action.KeyCode);
        if (action.EventType == editing::kEventPress && at == held.end()) held.push_back(action.KeyCode);
        if (action.EventType == editing::kEventRelease && at != held.end()) held.erase(at);
    }
    if (!held.empty()) {
        error = "the macro leaves " + KeyCode(held.front()).name + " pressed: add its release, or delete its press";
        return std::nullopt;
    }
    // As words of the settings tool's `key N macro NAME ACTIONS`, so that both refuse alike.
    const std::vector<std::string> words = {"macro", name_, editing::FormatMacroActions(actions_.data(), actions_.size())};
    return editing::BuildKeyAssignment(words, index, error);
}

}  // namespace brenik::option
