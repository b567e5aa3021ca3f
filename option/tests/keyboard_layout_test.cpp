#include "keyboard_layout.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace brenik::option {
namespace {

bool Overlap(const DrawnKey& a, const DrawnKey& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

TEST(KeyboardLayout, EveryKeyHasItsOwnPlaceInsideTheBox) {
    const auto& keys = StandardKeyLayout();
    for (int i = 0; i < kStandardKeyCount; ++i) {
        const DrawnKey& key = keys[i];
        EXPECT_EQ(key.index, i);
        EXPECT_STRNE(key.name, "") << i;
        EXPECT_GE(key.width, kQuarterKey) << key.name;
        EXPECT_GE(key.height, kQuarterKey) << key.name;
        EXPECT_GE(key.x, 0) << key.name;
        EXPECT_GE(key.y, 0) << key.name;
        EXPECT_LE(key.x + key.width, StandardLayoutWidth()) << key.name;
        EXPECT_LE(key.y + key.height, StandardLayoutHeight()) << key.name;
        for (int j = i + 1; j < kStandardKeyCount; ++j) {
            EXPECT_FALSE(Overlap(key, keys[j])) << key.name << " and " << keys[j].name;
        }
    }
    // Main block, editing block and keypad side by side with half-key gaps; the top row and
    // five rows below a half-key gap.
    EXPECT_EQ(StandardLayoutWidth(), 92);
    EXPECT_EQ(StandardLayoutHeight(), 26);
}

TEST(KeyboardLayout, MainRowsAreFifteenKeysWideWithoutGaps) {
    struct Row {
        int first;
        int last;
        const char* firstName;
        const char* lastName;
    };
    const Row rows[] = {
        {0, 14, "Grave (`)", "Backspace"},
        {15, 28, "Tab", "Backslash (\\)"},
        {29, 42, "Caps Lock", "Enter"},
        {43, 56, "Left Shift", "Right Shift"},
        {57, 64, "Left Ctrl", "Right Ctrl"},
    };
    const auto& keys = StandardKeyLayout();
    for (const Row& row : rows) {
        EXPECT_STREQ(keys[row.first].name, row.firstName);
        EXPECT_STREQ(keys[row.last].name, row.lastName);
        EXPECT_EQ(keys[row.first].x, 0) << row.firstName;
        int x = 0;
        for (int i = row.first; i <= row.last; ++i) {
            EXPECT_EQ(keys[i].x, x) << keys[i].name;
            EXPECT_EQ(keys[i].y, keys[row.first].y) << keys[i].name;
            x += keys[i].width;
        }
        EXPECT_EQ(x, 60) << row.firstName;
    }
    EXPECT_LT(keys[0].y, keys[15].y);
    EXPECT_LT(keys[43].y, keys[57].y);
}

// The drawn keys follow the order of the profile's key table: each index names its key, and the
// keys that sit apart from the main rows are in their blocks (right of the main block, the top row).
TEST(KeyboardLayout, EachIndexIsItsKeyInItsBlock) {
    struct Row {
        int index;
        const char* name;
        bool rightOfMainBlock;
        bool topRow;
    };
    const Row rows[] = {
        {93, "Esc", false, true},          {94, "Print Screen", true, true}, {96, "Pause", true, true},
        {13, "International 3 (Yen)", false, false}, {41, "Non-US #", false, false},
        {58, "Left Win", false, false},    {63, "Menu", false, false},       {65, "Insert", true, false},
        {70, "Up", true, false},           {75, "Num Lock", true, false},    {92, "Num Enter", true, false},
    };
    const auto& keys = StandardKeyLayout();
    for (const Row& row : rows) {
        const DrawnKey& key = keys[row.index];
        EXPECT_STREQ(key.name, row.name) << row.index;
        EXPECT_EQ(key.x >= 60, row.rightOfMainBlock) << row.name;
        EXPECT_EQ(key.y == 0, row.topRow) << row.name;
    }
}

TEST(KeyboardLayout, OnlyTheYenKeyAndTheKeypadStayOffTheKeyboard) {
    std::set<int> off;
    for (const DrawnKey& key : StandardKeyLayout()) {
        if (!key.onKeyboard) off.insert(key.index);
    }
    std::set<int> expected = {13};
    for (int i = 75; i <= 92; ++i) expected.insert(i);
    EXPECT_EQ(off, expected);
}

TEST(KeyboardLayout, BankNamesTheStandardFunctionOfKeysWithBlocks) {
    struct Row {
        int index;
        const char* standardFunction;
        bool hasKeyBlock;
        bool onKeyboard;
    };
    const Row rows[] = {
        {0, "F1", true, true},   {11, "F12", true, true}, {12, "1", true, true},  {20, "9", true, true},
        {21, "0", true, true},   {22, "", false, true},   {36, "", false, true},  {37, "1", true, true},
        {41, "5", true, true},   {42, "", false, false},  {43, "", false, false},
    };
    const auto& bank = AssignableKeyBank();
    for (const Row& row : rows) {
        EXPECT_EQ(bank[row.index].index, row.index);
        EXPECT_STREQ(bank[row.index].standardFunction, row.standardFunction) << row.index;
        EXPECT_EQ(bank[row.index].hasKeyBlock, row.hasKeyBlock) << row.index;
        EXPECT_EQ(bank[row.index].onKeyboard, row.onKeyboard) << row.index;
    }
    int withBlock = 0;
    for (const BankKey& key : bank) withBlock += key.hasKeyBlock ? 1 : 0;
    EXPECT_EQ(withBlock, 27);
}

}  // namespace
}  // namespace brenik::option
