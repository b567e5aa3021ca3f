#include "macro_draft.h"

#include "macro_grammar.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

namespace brenik::option {
namespace {

constexpr std::uint8_t kMacro = 0xBE;
constexpr std::uint8_t kStandard = 0x20;

MacroAction Press(std::uint8_t usage, std::uint16_t delayMs = 0) { return {usage, 1, delayMs}; }
MacroAction Release(std::uint8_t usage, std::uint16_t delayMs = 0) { return {usage, 2, delayMs}; }

std::string Text(const MacroDraft& draft) {
    return editing::FormatMacroActions(draft.Actions().data(), draft.Actions().size());
}

bool Same(const std::vector<MacroAction>& a, const std::vector<MacroAction>& b) {
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(MacroAction)) == 0);
}

MacroDraft ThreeActions() {
    MacroDraft draft;
    draft.SetName("Combo");
    draft.SetActions({Press(0x04, 10), Release(0x04, 20), Press(0x05, 30)});
    return draft;
}

TEST(MacroDraft, EditingStepsChangeOnlyWhatTheyMay) {
    struct Row {
        const char* what;
        std::function<bool(MacroDraft&)> step;
        bool done;
        std::string actions;
    };
    const std::string unchanged = "+A 10, -A 20, +B 30";
    const Row rows[] = {
        {"insert at the end", [](MacroDraft& d) { return d.Insert(3, Release(0x05)); }, true, "+A 10, -A 20, +B 30, -B"},
        {"insert at the start", [](MacroDraft& d) { return d.Insert(0, Press(0xE1, 5)); }, true,
         "+LShift 5, +A 10, -A 20, +B 30"},
        {"insert in the middle", [](MacroDraft& d) { return d.Insert(1, Press(0x06)); }, true, "+A 10, +C, -A 20, +B 30"},
        {"insert past the end", [](MacroDraft& d) { return d.Insert(4, Press(0x06)); }, false, unchanged},
        {"remove", [](MacroDraft& d) { return d.Remove(1); }, true, "+A 10, +B 30"},
        {"remove past the end", [](MacroDraft& d) { return d.Remove(3); }, false, unchanged},
        {"move the first up", [](MacroDraft& d) { return d.Move(0, -1); }, false, unchanged},
        {"move the first down", [](MacroDraft& d) { return d.Move(0, 1); }, true, "-A 20, +A 10, +B 30"},
        {"move the last up", [](MacroDraft& d) { return d.Move(2, -1); }, true, "+A 10, +B 30, -A 20"},
        {"move the last down", [](MacroDraft& d) { return d.Move(2, 1); }, false, unchanged},
        {"move by two", [](MacroDraft& d) { return d.Move(2, -2); }, true, "+B 30, +A 10, -A 20"},
        {"move past the end", [](MacroDraft& d) { return d.Move(3, -1); }, false, unchanged},
        {"set a delay", [](MacroDraft& d) { return d.SetDelay(1, 65535); }, true, "+A 10, -A 65535, +B 30"},
        {"set no delay", [](MacroDraft& d) { return d.SetDelay(0, 0); }, true, "+A, -A 20, +B 30"},
        {"set a delay past the end", [](MacroDraft& d) { return d.SetDelay(3, 1); }, false, unchanged},
        {"set every delay", [](MacroDraft& d) { d.SetEveryDelay(7); return true; }, true, "+A 7, -A 7, +B 7"},
    };
    for (const Row& row : rows) {
        MacroDraft draft = ThreeActions();
        EXPECT_EQ(row.step(draft), row.done) << row.what;
        EXPECT_EQ(Text(draft), row.actions) << row.what;
        EXPECT_EQ(draft.Name(), "Combo") << row.what;
    }
}

TEST(MacroDraft, HoldsAtMostTheRecordsRoom) {
    EXPECT_EQ(MacroDraft::Room(), 400u);
    MacroDraft draft;
    draft.SetActions(std::vector<MacroAction>(401, Press(0x04)));
    EXPECT_EQ(draft.Used(), 400u);
    EXPECT_FALSE(draft.Insert(400, Release(0x04)));
    EXPECT_FALSE(draft.Insert(0, Release(0x04)));
    EXPECT_EQ(draft.Used(), 400u);
    EXPECT_TRUE(draft.Remove(399));
    EXPECT_TRUE(draft.Insert(399, Release(0x04)));
    EXPECT_EQ(draft.Actions().back().EventType, 2);
}

TEST(MacroDraft, FromEntryTakesOnlyMacros) {
    MacroKeyInfo entry{};
    entry.FunctionType = kStandard;
    std::memcpy(entry.MacroName, "Old", 3);
    entry.ActionCount = 1;
    entry.Actions[0] = Press(0x04);
    MacroDraft standard = MacroDraft::FromEntry(entry);
    EXPECT_TRUE(standard.Name().empty());
    EXPECT_EQ(standard.Used(), 0u);
    EXPECT_FALSE(standard.Damaged());

    entry.FunctionType = kMacro;
    std::memset(entry.MacroName, 'n', sizeof entry.MacroName);  // no end inside the field
    entry.ActionCount = 2;
    entry.Actions[1] = Release(0x04, 9);
    const MacroDraft macro = MacroDraft::FromEntry(entry);
    EXPECT_EQ(macro.Name(), std::string(32, 'n'));
    EXPECT_EQ(Text(macro), "+A, -A 9");
    EXPECT_FALSE(macro.Damaged());

    entry.ActionCount = 0xFFFF;
    const MacroDraft damaged = MacroDraft::FromEntry(entry);
    EXPECT_EQ(damaged.Used(), 400u);
    EXPECT_TRUE(damaged.Damaged());
}

TEST(MacroDraft, ToEntryGoesThroughTheEditingCoreAndBack) {
    std::vector<std::vector<MacroAction>> cases = {
        {Press(0x04, 10), Release(0x04)},
        {Press(0xE0, 0), Press(0xE4, 65535), Release(0xE4, 1), Release(0xE0, 0)},
    };
    // Every code, pressed and released, in two macros of 400 actions.
    for (const int first : {0, 56}) {
        std::vector<MacroAction> codes;
        for (int usage = first; usage < first + 200; ++usage) {
            codes.push_back(Press(static_cast<std::uint8_t>(usage), static_cast<std::uint16_t>(usage * 257)));
        }
        for (int usage = first; usage < first + 200; ++usage) codes.push_back(Release(static_cast<std::uint8_t>(usage)));
        cases.push_back(codes);
    }

    for (const auto& actions : cases) {
        MacroDraft draft;
        draft.SetName(std::string(31, 'x'));
        draft.SetActions(actions);
        std::string error;
        const std::optional<MacroKeyInfo> entry = draft.ToEntry(37, error);
        ASSERT_TRUE(entry.has_value()) << error;
        EXPECT_EQ(entry->FunctionType, kMacro);
        EXPECT_EQ(entry->KeyIndex, 37);
        EXPECT_EQ(entry->ActionCount, actions.size());
        EXPECT_EQ(std::string(entry->EntryName, 31), std::string(31, 'x'));
        const MacroDraft back = MacroDraft::FromEntry(*entry);
        EXPECT_EQ(back.Name(), draft.Name());
        EXPECT_TRUE(Same(back.Actions(), draft.Actions())) << Text(back);
    }
}

TEST(MacroDraft, ToEntryRefusesWithAReason) {
    struct Row {
        const char* what;
        std::string name;
        std::vector<MacroAction> actions;
        int index;
        const char* reason;
    };
    const std::vector<MacroAction> one = {Press(0x04), Release(0x04)};
    const Row rows[] = {
        {"empty name", "", one, 0, "name"},
        {"name of 32 bytes", std::string(32, 'x'), one, 0, "name"},
        {"no actions", "Combo", {}, 0, "at least one action"},
        {"an event the grammar does not know", "Combo", {Press(0x04), Release(0x04), {0x04, 3, 0}}, 0, "action 3"},
        {"a press without its release: the key would stay down", "Combo", {Press(0xE1), Press(0x04), Release(0x04)}, 0,
         "leaves Left Shift pressed"},
        {"entry past the last", "Combo", one, 44, "key entry 44"},
        {"entry before the first", "Combo", one, -1, "key entry -1"},
    };
    for (const Row& row : rows) {
        MacroDraft draft;
        draft.SetName(row.name);
        draft.SetActions(row.actions);
        std::string error;
        EXPECT_FALSE(draft.ToEntry(row.index, error).has_value()) << row.what;
        EXPECT_NE(error.find(row.reason), std::string::npos) << row.what << ": " << error;
    }
}

}  // namespace
}  // namespace brenik::option
