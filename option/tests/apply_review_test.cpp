#include "apply_review.h"

#include "change_flags.h"
#include "profile_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace brenik::option {
namespace {

std::unique_ptr<StateRecord> DefaultBlock() {
    auto block = std::make_unique<StateRecord>();
    std::memset(block.get(), 0, sizeof *block);
    for (int p = 0; p < kProfileCount; ++p) SetDefaultProfile(block->Profiles[p], p);
    block->CurrentProfile = 0;
    return block;
}

MacroKeyInfo Macro(int key, const char* name, int actions) {
    MacroKeyInfo entry{};
    entry.KeyIndex = static_cast<std::uint8_t>(key);
    entry.FunctionType = kFunctionMacro;
    std::strcpy(entry.MacroName, name);
    std::strcpy(entry.EntryName, name);
    entry.ActionCount = static_cast<std::uint16_t>(actions);
    for (int i = 0; i < actions; ++i) entry.Actions[i] = {0x04, static_cast<std::uint8_t>(i % 2 ? 2 : 1), 20};
    return entry;
}

MacroKeyInfo Entry(int key, std::uint8_t function) {
    MacroKeyInfo entry{};
    entry.KeyIndex = static_cast<std::uint8_t>(key);
    entry.FunctionType = function;
    if (function == kFunctionLaunchEntry) entry.LaunchValue = 7;
    if (function == kFunctionLaunchProgram) std::strcpy(entry.ProgramPath, "C:\\Games\\tool.exe");
    return entry;
}

std::vector<int> Reports(const std::vector<ReviewLine>& lines) {
    std::vector<int> reports;
    for (const ReviewLine& line : lines) reports.push_back(line.report);
    return reports;
}

std::string Joined(const std::vector<ReviewLine>& lines) {
    std::string text;
    for (const ReviewLine& line : lines) text += line.text + "\n";
    return text;
}

// Which reports the change flags of the same edit make the monitor send, by report id, without
// the key entries' own reports (which depend on the entry's type, not on a flag alone).
std::vector<int> ReportsOfFlags(const StateRecord& before, const StateRecord& after) {
    auto flagged = std::make_unique<StateRecord>(after);
    editing::SetFlagsOfDifferences(before, *flagged);
    std::vector<int> reports;
    if (flagged->ProfileChanged == 1) reports.push_back(5);
    for (int p = 0; p < kProfileCount; ++p) {
        if (flagged->StandardKeyChanged[p]) reports.push_back(6);
    }
    for (int p = 0; p < kProfileCount; ++p) {
        if (flagged->LockKeysChanged[p]) reports.push_back(7);
    }
    for (int p = 0; p < kProfileCount; ++p) {
        if (flagged->LightingChanged[p]) reports.push_back(11);
    }
    return reports;
}

struct Row {
    const char* what;
    std::function<void(StateRecord&)> edit;
    std::vector<int> reports;  // in the order the apply sends them; 0 for a line that sends nothing
    const char* says;          // a part of the list's text
};

// What the list says is what the apply sends, in the apply's order, and names what stays in the
// computer.
TEST(ApplyReview, ListsExactlyTheReportsAnApplySendsInItsOrder) {
    const Row rows[] = {
        {"nothing", [](StateRecord&) {}, {}, ""},
        {"a colour", [](StateRecord& r) { r.Profiles[1].LtColorGreen = 9; }, {11, 17}, "Profile 2, the lighting (report 11)"},
        {"a key remapped", [](StateRecord& r) { r.Profiles[0].standardkey[29] = 0xE0; }, {6, 17},
         "Caps Lock sends Left Ctrl"},
        {"a keypad key", [](StateRecord& r) { r.Profiles[0].standardkey[76] = 0x04; }, {6, 17, 0},
         "keyboard's key map has no place for it"},
        {"a lock", [](StateRecord& r) { r.Profiles[2].CapsLock = 0; }, {7, 17}, "lock-caps-lock free"},
        {"a macro on key 3", [](StateRecord& r) { r.Profiles[0].MacroKeyInfo[2] = Macro(2, "Fire", 4); }, {8, 20, 17},
         "Profile 1, key 3, macro \"Fire\", 4 actions (report 20)"},
        {"a launch entry on key 25", [](StateRecord& r) { r.Profiles[0].MacroKeyInfo[24] = Entry(24, kFunctionLaunchEntry); },
         {74, 17}, "key 25, launch 7"},
        {"a program on key 25, which no block carries", [](StateRecord& r) { r.Profiles[0].MacroKeyInfo[24] = Entry(24, kFunctionLaunchProgram); },
         {17, 0}, "no key block carries this key"},
        {"key 44, which the keyboard lacks", [](StateRecord& r) { r.Profiles[0].MacroKeyInfo[43] = Macro(43, "X", 2); }, {17, 0},
         "the keyboard has no such key"},
        {"keys of a profile kept in the computer",
         [](StateRecord& r) {
             r.Profiles[3].HDDKeyboard = 0;
             r.Profiles[3].MacroKeyInfo[0] = Macro(0, "Y", 2);
         },
         {17, 0, 0}, "this profile's key assignments are not sent"},
        {"a macro past 400 actions, which the monitor refuses", [](StateRecord& r) { r.Profiles[0].MacroKeyInfo[2] = Macro(2, "Long", 400); r.Profiles[0].MacroKeyInfo[2].ActionCount = 401; },
         {8, 17, 0}, "refused by the monitor"},
        {"a name alone: the monitor is told, and issues a token", [](StateRecord& r) { std::strcpy(r.Profiles[1].ProFileName, "Raid"); },
         {17, 0}, "Profile 2, name: kept by the monitor"},
        {"a switch and a name", [](StateRecord& r) {
             r.CurrentProfile = 3;
             std::strcpy(r.Profiles[4].ProFileName, "Race");
         },
         {5, 17, 0}, "Profile 5, name: kept by the monitor"},
    };
    const auto before = DefaultBlock();
    for (const Row& row : rows) {
        auto after = std::make_unique<StateRecord>(*before);
        row.edit(*after);
        const std::vector<ReviewLine> lines = ReviewApply(*before, *after);
        EXPECT_EQ(Reports(lines), row.reports) << row.what << "\n" << Joined(lines);
        EXPECT_NE(Joined(lines).find(row.says), std::string::npos) << row.what << "\n" << Joined(lines);

        // Every report the change flags make the monitor send is in the list.
        for (const int report : ReportsOfFlags(*before, *after)) {
            const std::vector<int> listed = Reports(lines);
            EXPECT_NE(std::find(listed.begin(), listed.end(), report), listed.end()) << row.what << ": report " << report;
        }
    }
}

}  // namespace
}  // namespace brenik::option
