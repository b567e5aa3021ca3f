#include "key_names.h"
#include "macro_grammar.h"

#include <gtest/gtest.h>

namespace brenik::editing {
namespace {

TEST(KeyNames, NamesAndHexadecimalUsagesBothWays) {
    EXPECT_EQ(ParseKeyUsage("A"), 0x04);
    EXPECT_EQ(ParseKeyUsage("z"), 0x1D);
    EXPECT_EQ(ParseKeyUsage("1"), 0x1E);
    EXPECT_EQ(ParseKeyUsage("0"), 0x27);
    EXPECT_EQ(ParseKeyUsage("F1"), 0x3A);
    EXPECT_EQ(ParseKeyUsage("f12"), 0x45);
    EXPECT_EQ(ParseKeyUsage("lshift"), 0xE1);
    EXPECT_EQ(ParseKeyUsage("0x1e"), 0x1E);
    EXPECT_EQ(ParseKeyUsage("0xFF"), 0xFF);
    for (const char* bad : {"", "F0", "F13", "F01", "0x100", "0x", "12", "Shift", "A1", "F0x1"}) {
        EXPECT_FALSE(ParseKeyUsage(bad)) << bad;
    }
    for (int usage = 0; usage <= 0xFF; ++usage) {
        const std::string name = FormatKeyUsage(static_cast<std::uint8_t>(usage));
        EXPECT_EQ(ParseKeyUsage(name), usage) << name;
    }
    EXPECT_EQ(FormatKeyUsage(0x89), "0x89");
}

TEST(KeyNames, ModifiersAsNamesOrNumbers) {
    EXPECT_EQ(ParseModifiers("LCtrl"), 0x01);
    EXPECT_EQ(ParseModifiers("LCtrl+LShift"), 0x03);
    EXPECT_EQ(ParseModifiers("RWin+LAlt"), 0x84);
    EXPECT_EQ(ParseModifiers("5"), 5);
    EXPECT_EQ(ParseModifiers("0x80"), 0x80);
    EXPECT_EQ(ParseModifiers("none"), 0);
    for (const char* bad : {"A", "LCtrl+", "+LCtrl", "256", "LCtrl+A", ""}) EXPECT_FALSE(ParseModifiers(bad)) << bad;
    for (int bits = 0; bits <= 0xFF; ++bits) {
        EXPECT_EQ(ParseModifiers(FormatModifiers(static_cast<std::uint8_t>(bits))), bits);
    }
}

TEST(MacroGrammar, ParsesPressesReleasesKeysAndDelays) {
    const MacroParse parsed = ParseMacroActions("+A 50, -A 0, +LShift 10,+0x1E 20 , -0x1E, -LShift 65535");
    ASSERT_TRUE(parsed.Ok()) << parsed.error;
    ASSERT_EQ(parsed.actions.size(), 6u);
    EXPECT_EQ(parsed.actions[0].EventType, kEventPress);
    EXPECT_EQ(parsed.actions[0].KeyCode, 0x04);
    EXPECT_EQ(parsed.actions[0].DelayMs, 50);
    EXPECT_EQ(parsed.actions[1].EventType, kEventRelease);
    EXPECT_EQ(parsed.actions[1].DelayMs, 0);
    EXPECT_EQ(parsed.actions[2].KeyCode, 0xE1);
    EXPECT_EQ(parsed.actions[3].KeyCode, 0x1E);
    EXPECT_EQ(parsed.actions[3].DelayMs, 20);
    EXPECT_EQ(parsed.actions[4].DelayMs, 0) << "a left-out delay is 0";
    EXPECT_EQ(parsed.actions[5].DelayMs, 65535);
    EXPECT_EQ(ParseMacroActions("+ A  7").actions.at(0).DelayMs, 7) << "blanks between the parts are free";
}

TEST(MacroGrammar, RefusesMalformedActionsNamingWhich) {
    const struct {
        const char* text;
        const char* mentions;
    } cases[] = {
        {"", "at least one"},         {"  ", "at least one"},     {"A 5", "action 1"},
        {"+A 5,", "action 2"},        {"+A, , -A", "action 2"},   {"+Q 65536", "65535"},
        {"+A -5", "delay"},           {"+A 0x10", "delay"},       {"+A 5 6", "delay"},
        {"+Nope", "unknown key"},     {"*A", "must start"},       {"+A, -B, ?3:C", "action 3"},
    };
    for (const auto& c : cases) {
        const MacroParse parsed = ParseMacroActions(c.text);
        EXPECT_FALSE(parsed.Ok()) << c.text;
        EXPECT_TRUE(parsed.actions.empty()) << c.text;
        EXPECT_NE(parsed.error.find(c.mentions), std::string::npos) << c.text << ": " << parsed.error;
    }
}

TEST(MacroGrammar, HoldsAtMostFourHundredActions) {
    std::string text = "+A";
    for (int i = 1; i < kMaxMacroActions; ++i) text += ", -A 1";
    EXPECT_EQ(ParseMacroActions(text).actions.size(), static_cast<std::size_t>(kMaxMacroActions));
    EXPECT_NE(ParseMacroActions(text + ", +B").error.find("more than 400"), std::string::npos);
}

TEST(MacroGrammar, FormatAndParseGiveTheActionsBack) {
    std::vector<MacroAction> actions;
    for (int i = 0; i < 300; ++i) {
        actions.push_back({static_cast<std::uint8_t>(i * 7), static_cast<std::uint8_t>(1 + i % 2),
                           static_cast<std::uint16_t>(i * 219)});
    }
    const std::string text = FormatMacroActions(actions.data(), actions.size());
    const MacroParse parsed = ParseMacroActions(text);
    ASSERT_TRUE(parsed.Ok()) << parsed.error;
    ASSERT_EQ(parsed.actions.size(), actions.size());
    for (std::size_t i = 0; i < actions.size(); ++i) {
        EXPECT_EQ(parsed.actions[i].KeyCode, actions[i].KeyCode) << i;
        EXPECT_EQ(parsed.actions[i].EventType, actions[i].EventType) << i;
        EXPECT_EQ(parsed.actions[i].DelayMs, actions[i].DelayMs) << i;
    }
    EXPECT_EQ(FormatMacroActions(parsed.actions.data(), parsed.actions.size()), text);
    // The normal form: delays only when not 0.
    const MacroParse loose = ParseMacroActions("+LShift 0,+a   50 , -A");
    EXPECT_EQ(FormatMacroActions(loose.actions.data(), loose.actions.size()), "+LShift, +A 50, -A");
    // A type the grammar has no sign for is shown as it is.
    const MacroAction odd{0x04, 3, 9};
    EXPECT_EQ(FormatMacroActions(&odd, 1), "?3:A 9");
}

}  // namespace
}  // namespace brenik::editing
