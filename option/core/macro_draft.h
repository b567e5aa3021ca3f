#pragma once
// A macro while the user edits it in the macro editor: its name and its actions, changed one
// step at a time (a delay, insert, delete, move), and checked and turned into a key entry by the
// editing core, the same way the settings tool's `key N macro NAME ACTIONS` is.

#include "profile_record.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace brenik::option {

class MacroDraft {
public:
    MacroDraft() = default;
    // From a key entry; an entry that is not a macro gives an empty draft. An entry claiming
    // more than 400 actions gives its first 400, and Damaged() says so.
    static MacroDraft FromEntry(const MacroKeyInfo& entry);

    const std::string& Name() const { return name_; }  // ANSI bytes
    void SetName(std::string ansi) { name_ = std::move(ansi); }
    const std::vector<MacroAction>& Actions() const { return actions_; }
    void SetActions(std::vector<MacroAction> actions);  // e.g. from the recorder; cut at 400
    bool Damaged() const { return damaged_; }

    // Each returns false and changes nothing when the position is out of range or the macro full.
    bool Insert(std::size_t at, const MacroAction& action);
    bool Remove(std::size_t at);
    bool Move(std::size_t at, int by);  // -1 up, +1 down
    bool SetDelay(std::size_t at, std::uint16_t delayMs);
    void SetEveryDelay(std::uint16_t delayMs);

    std::size_t Used() const { return actions_.size(); }
    static constexpr std::size_t Room() { return kMaxMacroActions; }

    // The key entry for key entry `index`, through the editing core; nothing, with the reason, for
    // a name that is empty or too long, no actions, or an action the grammar refuses.
    std::optional<MacroKeyInfo> ToEntry(int index, std::string& error) const;

private:
    std::string name_;
    std::vector<MacroAction> actions_;
    bool damaged_ = false;
};

}  // namespace brenik::option
