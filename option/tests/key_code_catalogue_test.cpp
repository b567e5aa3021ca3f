#include "key_code_catalogue.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace brenik::option {
namespace {

TEST(KeyCodeCatalogue, NamesAndLabelsOfTheKeyboardPage) {
    struct Row {
        std::uint8_t usage;
        const char* name;
        const char* label;
    };
    const Row rows[] = {
        {0x00, "None", "None"},
        {0x01, "Code 0x01", "0x01"},
        {0x04, "A", "A"},
        {0x1E, "1", "1"},
        {0x28, "Enter", "Enter"},
        {0x2A, "Backspace", "Bksp"},
        {0x39, "Caps Lock", "Caps"},
        {0x3A, "F1", "F1"},
        {0x46, "Print Screen", "PrtSc"},
        {0x53, "Num Lock", "NumLk"},
        {0x5F, "Num 7", "Num7"},
        {0x64, "Non-US \\", "NUS \\"},
        {0x73, "F24", "F24"},
        {0x80, "Volume Up", "Vol+"},
        {0x85, "Num ,", "Num,"},
        {0x89, "International 3 (Yen)", "Yen"},
        {0x90, "Lang 1 (Hangul/English)", "Hangul"},
        {0xBF, "Num D", "NumD"},
        {0xE0, "Left Ctrl", "LCtrl"},
        {0xE3, "Left Win", "LWin"},
        {0xFF, "Code 0xFF", "0xFF"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(KeyCode(row.usage).name, row.name) << int(row.usage);
        EXPECT_EQ(KeyCode(row.usage).label, row.label) << int(row.usage);
    }
}

TEST(KeyCodeCatalogue, EveryCodeInOrderWithAUniqueNameAndAShortLabel) {
    const auto& all = KeyCodeCatalogue();
    ASSERT_EQ(all.size(), 256u);
    std::set<std::string> names;
    for (std::size_t i = 0; i < all.size(); ++i) {
        EXPECT_EQ(all[i].usage, i);
        EXPECT_TRUE(names.insert(all[i].name).second) << all[i].name;
        EXPECT_FALSE(all[i].label.empty()) << all[i].name;
        EXPECT_LE(all[i].label.size(), 6u) << all[i].name;
    }
}

TEST(KeyCodeCatalogue, SearchByWordsAndByNumber) {
    struct Row {
        const char* text;
        std::vector<std::uint8_t> found;
    };
    const Row rows[] = {
        {"ctrl", {0xE0, 0xE4}},
        {"  CTRL  right ", {0xE4}},
        {"num 7", {0x5F}},
        {"volume", {0x80, 0x81}},
        {"0x2c", {0x2C}},
        {"0X2C", {0x2C}},
        {"2C", {0x2C}},
        {"0x5", {0x05}},
        {"0xe8", {0xE8}},
        {"code", {}},
        {"0x100", {}},
        {"zz", {}},
        // A name and a number: named codes first, each group in usage order.
        {"ab", {0x2B, 0xBA, 0xAB}},
        {"yen", {0x89}},
        {"left", {0x2F, 0x50, 0xE0, 0xE1, 0xE2, 0xE3}},
    };
    for (const Row& row : rows) EXPECT_EQ(SearchKeyCodes(row.text), row.found) << row.text;
}

TEST(KeyCodeCatalogue, EmptySearchGivesEveryNamedCodeOnly) {
    const std::vector<std::uint8_t> found = SearchKeyCodes("");
    std::vector<std::uint8_t> named;
    for (const KeyCodeName& code : KeyCodeCatalogue()) {
        if (code.name.rfind("Code 0x", 0) != 0) named.push_back(code.usage);
    }
    EXPECT_EQ(found, named);
    EXPECT_EQ(SearchKeyCodes("   "), named);
    EXPECT_EQ(found.front(), 0x00);
    EXPECT_EQ(found.back(), 0xE7);
    EXPECT_EQ(found.size(), 216u);
}

}  // namespace
}  // namespace brenik::option
