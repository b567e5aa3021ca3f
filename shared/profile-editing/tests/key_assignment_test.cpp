#include "key_assignment.h"

#include <gtest/gtest.h>

#include <cstring>

namespace brenik::editing {
namespace {

std::optional<MacroKeyInfo> Build(std::vector<std::string> words, int index = 4) {
    std::string error;
    auto entry = BuildKeyAssignment(words, index, error);
    EXPECT_EQ(entry.has_value(), error.empty()) << error;
    return entry;
}

// Every byte of the entry other than the listed ones is zero.
void ExpectOnlyTheseBytes(const MacroKeyInfo& entry, std::initializer_list<std::pair<std::size_t, std::size_t>> allowed) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&entry);
    for (std::size_t i = 0; i < sizeof entry; ++i) {
        bool inside = false;
        for (const auto& range : allowed) inside = inside || (i >= range.first && i < range.first + range.second);
        if (!inside) {
            ASSERT_EQ(bytes[i], 0) << "byte " << i;
        }
    }
}

TEST(KeyAssignment, BuildsEachKindFromCleanDefaults) {
    const auto standard = Build({"standard"}, 7);
    ASSERT_TRUE(standard);
    EXPECT_EQ(standard->KeyIndex, 7);
    EXPECT_EQ(standard->FunctionType, kFunctionStandard);
    ExpectOnlyTheseBytes(*standard, {{0, 2}});

    const auto single = Build({"single", "B", "LCtrl+LShift"});
    ASSERT_TRUE(single);
    EXPECT_EQ(single->FunctionType, kFunctionSingleKey);
    EXPECT_EQ(single->ActionCount, 1);
    EXPECT_EQ(single->Actions[0].KeyCode, 0x05);
    EXPECT_EQ(single->Actions[0].EventType, 0x03) << "the modifier byte";
    ExpectOnlyTheseBytes(*single, {{0, 2}, {offsetof(MacroKeyInfo, ActionCount), 2}, {offsetof(MacroKeyInfo, Actions), 2}});
    EXPECT_EQ(Build({"single", "0x3A"})->Actions[0].EventType, 0) << "no modifier";

    const auto macro = Build({"macro", "Combo", "+A 50, -A"});
    ASSERT_TRUE(macro);
    EXPECT_EQ(macro->FunctionType, kFunctionMacro);
    EXPECT_STREQ(macro->MacroName, "Combo");
    EXPECT_STREQ(macro->EntryName, "Combo");
    EXPECT_EQ(macro->ActionCount, 2);
    EXPECT_EQ(macro->Actions[1].EventType, 2);
    EXPECT_EQ(macro->LaunchValue, 0u);

    const auto program = Build({"program", "C:\\Tools\\x.exe"});
    ASSERT_TRUE(program);
    EXPECT_EQ(program->FunctionType, kFunctionLaunchProgram);
    EXPECT_STREQ(program->ProgramPath, "C:\\Tools\\x.exe");
    EXPECT_EQ(program->ActionCount, 0);

    const auto launch = Build({"launch", "4294967295", "Mail"});
    ASSERT_TRUE(launch);
    EXPECT_EQ(launch->FunctionType, kFunctionLaunchEntry);
    EXPECT_EQ(launch->LaunchValue, 4294967295u);
    EXPECT_STREQ(launch->MacroName, "Mail");
    EXPECT_EQ(Build({"launch", "0x10"})->LaunchValue, 16u);
}

TEST(KeyAssignment, RefusesWhatDoesNotFit) {
    const std::vector<std::vector<std::string>> refused = {
        {},
        {"standard", "extra"},
        {"single"},
        {"single", "Nope"},
        {"single", "A", "LCtrl+B"},
        {"single", "A", "LCtrl", "more"},
        {"macro", "Name"},
        {"macro", std::string(32, 'n'), "+A"},  // 31 characters at most
        {"macro", "", "+A"},
        {"macro", "Name", "A"},
        {"macro", "Name", ""},
        {"program", std::string(260, 'p')},     // shorter than 260
        {"program", ""},
        {"launch", "4294967296"},
        {"launch", "-1"},
        {"launch", "7", std::string(32, 'n')},
        {"teleport"},
    };
    for (const auto& words : refused) {
        std::string error;
        EXPECT_FALSE(BuildKeyAssignment(words, 0, error)) << (words.empty() ? "(none)" : words[0]);
        EXPECT_FALSE(error.empty());
    }
    std::string error;
    EXPECT_TRUE(BuildKeyAssignment({"macro", std::string(31, 'n'), "+A"}, 0, error));
    EXPECT_TRUE(BuildKeyAssignment({"program", std::string(259, 'p')}, 0, error));
}

TEST(KeyAssignment, DescriptionsReadBackAsTheCommandsThatMadeThem) {
    EXPECT_EQ(DescribeKeyAssignment(*Build({"standard"})), "standard");
    EXPECT_EQ(DescribeKeyAssignment(*Build({"single", "b", "LCtrl"})), "single B LCtrl");
    EXPECT_EQ(DescribeKeyAssignment(*Build({"single", "Enter"})), "single Enter");
    EXPECT_EQ(DescribeKeyAssignment(*Build({"macro", "Fire", "+a 50,-a"})), "macro \"Fire\": +A 50, -A");
    EXPECT_EQ(DescribeKeyAssignment(*Build({"program", "C:\\x.exe"})), "program C:\\x.exe");
    EXPECT_EQ(DescribeKeyAssignment(*Build({"launch", "7", "Mail"})), "launch 7 \"Mail\"");
    MacroKeyInfo other{};
    other.FunctionType = 0x42;
    EXPECT_EQ(DescribeKeyAssignment(other), "function 0x42");
    EXPECT_EQ(KeyAssignmentKind(other), "other");
    // A damaged count is not read past the action area.
    MacroKeyInfo damaged{};
    damaged.FunctionType = kFunctionMacro;
    damaged.ActionCount = 401;
    EXPECT_NE(DescribeKeyAssignment(damaged).find("damaged"), std::string::npos);
}

}  // namespace
}  // namespace brenik::editing
