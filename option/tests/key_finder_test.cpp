#include "key_finder.h"

#include "keyboard_layout.h"
#include "profile_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace brenik::option {
namespace {

int IndexNamed(const std::string& name) {
    const auto& layout = StandardKeyLayout();
    const auto found = std::find_if(layout.begin(), layout.end(), [&](const DrawnKey& key) { return key.name == name; });
    return found == layout.end() ? -1 : found->index;
}

struct Map {
    std::uint8_t keys[kStandardKeyCount];
    Map() { std::memcpy(keys, kDefaultStandardKeys.data(), sizeof keys); }
};

PickedKey Standard(int index) { return {PickedKey::Kind::kStandard, index}; }
PickedKey Bank(int entry) { return {PickedKey::Kind::kBank, entry}; }

// The function row is the numbered keys 1..12; other usages find the key that sends them as
// the keyboard holds the profile, else the key whose own code they are.
TEST(KeyFinder, PressedKeysPickTheKeyThatSendsThem) {
    Map loaded;
    const int caps = IndexNamed("Caps Lock");
    const int q = IndexNamed("Q");
    ASSERT_GE(caps, 0);
    ASSERT_GE(q, 0);
    struct Row {
        std::uint8_t usage;
        PickedKey picked;
    } const rows[] = {
        {0x3A, Bank(0)},  // F1
        {0x3E, Bank(4)},  // F5
        {0x45, Bank(11)}, // F12
        {0x39, Standard(caps)},
        {0x14, Standard(q)},
    };
    for (const Row& row : rows) {
        const std::optional<PickedKey> picked = KeyForUsage(row.usage, loaded.keys);
        ASSERT_TRUE(picked.has_value()) << int(row.usage);
        EXPECT_EQ(*picked, row.picked) << int(row.usage);
    }
}

TEST(KeyFinder, ARemappedKeyIsFoundByWhatItSendsNow) {
    Map loaded;
    const int caps = IndexNamed("Caps Lock");
    const int leftCtrl = IndexNamed("Left Ctrl");
    loaded.keys[caps] = 0xE0;  // Caps Lock sends Left Ctrl; Left Ctrl still does too: the first wins
    const std::optional<PickedKey> picked = KeyForUsage(0xE0, loaded.keys);
    ASSERT_TRUE(picked.has_value());
    EXPECT_EQ(*picked, Standard(std::min(caps, leftCtrl)));
    // Nothing sends Caps Lock any more: the key whose own code it is.
    EXPECT_EQ(KeyForUsage(0x39, loaded.keys), Standard(caps));
}

TEST(KeyFinder, KeysTheKeyboardDoesNotHoldAreNeverPicked) {
    Map loaded;
    const int yen = IndexNamed("International 3 (Yen)");
    ASSERT_GE(yen, 0);
    ASSERT_FALSE(StandardKeyLayout()[yen].onKeyboard);
    EXPECT_EQ(KeyForUsage(0x89, loaded.keys), std::nullopt);
    EXPECT_EQ(KeyForUsage(0x5F, loaded.keys), std::nullopt);  // Num 7, on the keypad
    EXPECT_EQ(KeyForUsage(0x00, loaded.keys), std::nullopt);
    EXPECT_EQ(StandardKeyNamed("Yen"), std::nullopt);
}

TEST(KeyFinder, ATypedNameFindsTheFirstKeyContainingIt) {
    EXPECT_EQ(StandardKeyNamed("caps"), IndexNamed("Caps Lock"));
    EXPECT_EQ(StandardKeyNamed("  CAPS lock "), IndexNamed("Caps Lock"));
    EXPECT_EQ(StandardKeyNamed("right win"), IndexNamed("Right Win"));
    EXPECT_EQ(StandardKeyNamed("q"), IndexNamed("Q"));  // the whole name before a part of one
    EXPECT_EQ(StandardKeyNamed("lock"), IndexNamed("Caps Lock"));
    EXPECT_EQ(StandardKeyNamed(""), std::nullopt);
    EXPECT_EQ(StandardKeyNamed("   "), std::nullopt);
    EXPECT_EQ(StandardKeyNamed("no such key"), std::nullopt);
    EXPECT_TRUE(NameContains("Key 5", "key 5"));
    EXPECT_FALSE(NameContains("Key 5", "Key 50"));
}

}  // namespace
}  // namespace brenik::option
