// Texts from outside made fit to show: ended, cleaned and cut without splitting a character.

#include "display_text.h"

#include <gtest/gtest.h>

#include <string>

namespace brenik::osd {
namespace {

using namespace std::string_literals;

TEST(DisplayText, EndsAtTheFirstNulWhateverFollows) {
    EXPECT_EQ(DisplayText("Shooter\0garbage from an older name"s, 64), "Shooter");
    EXPECT_EQ(DisplayText("\0Shooter"s, 64), "");
    const std::string noTerminator(250, 'N');  // a full name field without its zero
    EXPECT_EQ(DisplayText(noTerminator, 300), noTerminator);
}

TEST(DisplayText, ControlCharactersBecomeSpacesAndOuterBlanksGo) {
    EXPECT_EQ(DisplayText("  Raid\tnight\x7F!\x01  ", 64), "Raid night !");
    EXPECT_EQ(DisplayText("\r\n\t ", 64), "");
}

TEST(DisplayText, ALongTextIsCutAtTheLimitWithAMark) {
    EXPECT_EQ(DisplayText("abcdefghij", 10), "abcdefghij");
    EXPECT_EQ(DisplayText("abcdefghijk", 10), "abcdefghij...");
    EXPECT_EQ(DisplayText("abcd    efgh", 6), "abcd...") << "no blanks before the mark";
}

// A code page where 0x81..0x9F start a two-byte character, as in the Japanese one.
bool TestLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0x9F; }

TEST(DisplayText, TheCutNeverSplitsADoubleByteCharacter) {
    const std::string text = "ab\x82\xA0\x82\xA1" "cd";  // a, b, two double-byte characters, c, d
    EXPECT_EQ(DisplayText(text, 3, TestLeadByte), "ab...");
    EXPECT_EQ(DisplayText(text, 4, TestLeadByte), "ab\x82\xA0...");
    EXPECT_EQ(DisplayText(text, 5, TestLeadByte), "ab\x82\xA0...");
    // Without the code page's rule, bytes are characters.
    EXPECT_EQ(DisplayText(text, 3), "ab\x82...");
    // A lead byte at the very end has no partner and counts alone.
    EXPECT_EQ(DisplayText("abc\x82"s, 10, TestLeadByte), "abc\x82");
}

}  // namespace
}  // namespace brenik::osd
