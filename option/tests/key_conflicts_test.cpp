#include "key_conflicts.h"

#include "profile_store.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace brenik::option {
namespace {

using Kind = KeyConflict::Kind;

std::unique_ptr<ProfileRecord> DefaultProfile() {
    auto profile = std::make_unique<ProfileRecord>();
    std::memset(profile.get(), 0, sizeof *profile);
    SetDefaultProfile(*profile, 1);
    return profile;
}

MacroKeyInfo Single(int key, std::uint8_t code, std::uint8_t modifiers) {
    MacroKeyInfo entry{};
    entry.KeyIndex = static_cast<std::uint8_t>(key);
    entry.FunctionType = kFunctionSingleKey;
    entry.ActionCount = 1;
    entry.Actions[0] = {code, modifiers, 0};
    return entry;
}

MacroKeyInfo Macro(int key, std::uint8_t code, std::uint16_t count) {
    MacroKeyInfo entry{};
    entry.KeyIndex = static_cast<std::uint8_t>(key);
    entry.FunctionType = kFunctionMacro;
    entry.ActionCount = count;
    entry.Actions[0] = {code, 1, 10};
    entry.Actions[1] = {code, 2, 0};
    return entry;
}

MacroKeyInfo Program(int key, const char* path) {
    MacroKeyInfo entry{};
    entry.KeyIndex = static_cast<std::uint8_t>(key);
    entry.FunctionType = kFunctionLaunchProgram;
    std::strcpy(entry.ProgramPath, path);
    return entry;
}

struct Row {
    const char* what;
    std::function<void(ProfileRecord&)> edit;
    std::vector<Kind> found;
    int key;           // of the first conflict
    const char* says;  // a part of its text
};

TEST(KeyConflicts, NamesWhatWorksAgainstItselfAndNothingInADefaultProfile) {
    const auto exists = [](const std::string& path) { return path == "C:\\Games\\run.exe"; };
    const Row rows[] = {
        {"a default profile, both Windows keys locked", [](ProfileRecord&) {}, {}, -1, ""},
        {"a macro sends the locked left Windows key", [](ProfileRecord& p) { p.MacroKeyInfo[4] = Macro(4, 0xE3, 2); },
         {Kind::kLockedWindowsKey}, 4, "Profile 2: key 5's macro sends Left Win"},
        {"the same with the lock off",
         [](ProfileRecord& p) {
             p.LeftWin = 0;
             p.MacroKeyInfo[4] = Macro(4, 0xE3, 2);
         },
         {}, -1, ""},
        {"a single key holds right Windows as its modifier", [](ProfileRecord& p) { p.MacroKeyInfo[0] = Single(0, 0x04, 0x80); },
         {Kind::kLockedWindowsKey}, 0, "key 1 sends Right Win"},
        {"Caps Lock made a left Windows key",
         [](ProfileRecord& p) { p.standardkey[29] = 0xE3; }, {Kind::kLockedWindowsKey}, -1, "Caps Lock sends Left Win"},
        {"two keys send A", [](ProfileRecord& p) { p.standardkey[29] = 0x04; }, {Kind::kSameCode}, 29,
         "Caps Lock and A both send A"},
        {"a keypad key on A: the keyboard has no place for it", [](ProfileRecord& p) { p.standardkey[76] = 0x04; }, {}, -1, ""},
        {"401 actions", [](ProfileRecord& p) { p.MacroKeyInfo[7] = Macro(7, 0x04, 401); }, {Kind::kTooManyActions}, 7,
         "claims 401 actions"},
        {"a program that is there", [](ProfileRecord& p) { p.MacroKeyInfo[9] = Program(9, "C:\\Games\\run.exe"); }, {}, -1, ""},
        {"a program that is not", [](ProfileRecord& p) { p.MacroKeyInfo[9] = Program(9, "C:\\Gone\\run.exe"); },
         {Kind::kMissingProgram}, 9, "starts \"C:\\Gone\\run.exe\", which does not exist"},
    };
    for (const Row& row : rows) {
        auto profile = DefaultProfile();
        row.edit(*profile);
        const std::vector<KeyConflict> conflicts = FindKeyConflicts(*profile, 1, exists);
        std::vector<Kind> kinds;
        for (const KeyConflict& conflict : conflicts) kinds.push_back(conflict.kind);
        EXPECT_EQ(kinds, row.found) << row.what;
        if (conflicts.empty() || row.found.empty()) continue;
        EXPECT_EQ(conflicts.front().key, row.key) << row.what;
        EXPECT_EQ(conflicts.front().profile, 1) << row.what;
        EXPECT_NE(conflicts.front().text.find(row.says), std::string::npos) << row.what << ": " << conflicts.front().text;
    }
}

}  // namespace
}  // namespace brenik::option
