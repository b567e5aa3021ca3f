#include "ini_document.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace brenik::ini {
namespace {

std::optional<std::string> Get(const IniDocument& document, const char* section, const char* key) {
    const auto value = document.Find(section, key);
    if (!value) return std::nullopt;
    return std::string(*value);
}

TEST(IniDocumentTest, FindFollowsThePlatformsReadingRules) {
    const IniDocument document = IniDocument::Parse(
        "orphan=before any section\r\n"
        "[Setting]\r\n"
        "CurrentProfile=2\r\n"
        "  spaced   =   a b c   \r\n"
        "quoted=\"  hello  \"\r\n"
        "single='x'\r\n"
        "mismatched=\"x'\r\n"
        "inline=value ; not a comment\r\n"
        ";hidden=comment\r\n"
        "#hash=visible\r\n"
        "dup=first\r\n"
        "dup=second\r\n"
        "noequals\r\n"
        "empty=\r\n"
        "eq=a=b\r\n"
        "\tTabbed\t=\tv\t\r\n"
        "[ Other ]\r\n"
        "k=1\r\n"
        "[setting]\r\n"
        "onlyInSecondCopy=lost\r\n"
        "[Open\r\n"
        "k=unterminated header\r\n"
        "[Close]trailing\r\n"
        "k=text after the bracket\r\n");
    struct Case {
        const char* section;
        const char* key;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {"Setting", "CurrentProfile", "2"},               // 0
        {"SETTING", "currentprofile", "2"},               // 1 names ignore case
        {"Setting", "spaced", "a b c"},                   // 2
        {"Setting", "quoted", "  hello  "},               // 3 outer quotes only
        {"Setting", "single", "x"},                       // 4
        {"Setting", "mismatched", "\"x'"},                // 5
        {"Setting", "inline", "value ; not a comment"},   // 6 no inline comments
        {"Setting", ";hidden", std::nullopt},             // 7 comment lines are not keys
        {"Setting", "hidden", std::nullopt},              // 8
        {"Setting", "#hash", "visible"},                  // 9
        {"Setting", "dup", "first"},                      // 10 first duplicate wins
        {"Setting", "noequals", std::nullopt},            // 11 a key without "=" reads as missing
        {"Setting", "empty", ""},                         // 12 present but empty
        {"Setting", "eq", "a=b"},                         // 13 the key ends at the first "="
        {"Setting", "Tabbed", "v"},                       // 14
        {"Other", "k", "1"},                              // 15 blanks inside brackets trimmed
        {"Setting", "onlyInSecondCopy", std::nullopt},    // 16 only the first section is searched
        {"", "orphan", std::nullopt},                     // 17 keys before any section
        {"Open", "k", "unterminated header"},             // 18 a header without "]" still counts
        {"Close", "k", "text after the bracket"},         // 19 the name ends at the first "]"
        {" Setting ", " CurrentProfile ", "2"},           // 20 spaces around arguments ignored
        {"Missing", "k", std::nullopt},                   // 21
        {"Setting", "Missing", std::nullopt},             // 22
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(Get(document, cases[i].section, cases[i].key), cases[i].expected) << "row " << i;
    }
}

TEST(IniDocumentTest, AcceptsEveryKindOfLineEnd) {
    for (const char* text : {"[s]\r\na=1\r\nb=2\r\n", "[s]\na=1\nb=2\n", "[s]\ra=1\rb=2\r", "[s]\r\na=1\nb=2"}) {
        const IniDocument document = IniDocument::Parse(text);
        EXPECT_EQ(Get(document, "s", "a"), "1") << text;
        EXPECT_EQ(Get(document, "s", "b"), "2") << text;
        EXPECT_EQ(document.Serialise(), text) << "an unchanged file must serialise to its own bytes";
    }
}

TEST(IniDocumentTest, BytesAboveAsciiAndNulPassThrough) {
    const std::string text = std::string("[s]\r\nname=Caf\xE9 \xFF\x80\r\nraw=a") + '\0' + "b\r\n";
    const IniDocument document = IniDocument::Parse(text);
    EXPECT_EQ(Get(document, "s", "name"), "Caf\xE9 \xFF\x80");
    EXPECT_EQ(Get(document, "s", "raw"), std::string("a") + '\0' + "b");
    EXPECT_EQ(document.Serialise(), text);
}

TEST(IniDocumentTest, WritesBuildTheSameBytesAsThePlatform) {
    // The platform's own output for this sequence: CRLF, no blank lines, new keys after the
    // section's keys, new sections at the end.
    IniDocument document;
    EXPECT_TRUE(document.Set("App1", "key1", "string1"));
    EXPECT_TRUE(document.Set("App1", "key2", "string2"));
    EXPECT_TRUE(document.Set("App2", "key4", "string4"));
    EXPECT_TRUE(document.Set("App1", "key3", "string3"));
    EXPECT_TRUE(document.Set("App3", "key5", "string5"));
    EXPECT_EQ(document.Serialise(),
              "[App1]\r\nkey1=string1\r\nkey2=string2\r\nkey3=string3\r\n[App2]\r\nkey4=string4\r\n[App3]\r\nkey5=string5\r\n");
}

TEST(IniDocumentTest, AWriteChangesOnlyItsOwnLine) {
    const std::string before =
        "; written by hand\n"
        "[Setting]\n"
        "  CurrentProfile =  1  \n"
        "\n"
        "; next section\n"
        "[OSDSetting]\n"
        "config=00\n";
    IniDocument document = IniDocument::Parse(before);
    EXPECT_TRUE(document.Set("setting", "currentprofile", "3"));
    EXPECT_EQ(document.Serialise(),
              "; written by hand\n"
              "[Setting]\n"
              "CurrentProfile=3\r\n"  // the file's own spelling of the key is kept
              "\n"
              "; next section\n"
              "[OSDSetting]\n"
              "config=00\n");
    // Same value again: nothing changes.
    EXPECT_FALSE(document.Set("Setting", "CurrentProfile", "3"));
}

TEST(IniDocumentTest, NewKeyGoesAfterTheLastKeyOfItsSection) {
    IniDocument document = IniDocument::Parse("[a]\r\nx=1\r\n\r\n;about b\r\n[b]\r\ny=2");
    EXPECT_TRUE(document.Set("a", "z", "3"));
    EXPECT_TRUE(document.Set("b", "w", "4"));  // the last line had no line end
    EXPECT_TRUE(document.Set("c", "v", "5"));
    EXPECT_EQ(document.Serialise(), "[a]\r\nx=1\r\nz=3\r\n\r\n;about b\r\n[b]\r\ny=2\r\nw=4\r\n[c]\r\nv=5\r\n");
}

TEST(IniDocumentTest, WriteToDuplicateKeysAndSectionsChangesTheFirst) {
    IniDocument document = IniDocument::Parse("[s]\r\nk=1\r\nk=2\r\n[S]\r\nk=3\r\n");
    EXPECT_TRUE(document.Set("s", "K", "9"));
    EXPECT_EQ(document.Serialise(), "[s]\r\nk=9\r\nk=2\r\n[S]\r\nk=3\r\n");
    EXPECT_EQ(Get(document, "S", "k"), "9");
}

TEST(IniDocumentTest, KeyWithoutValueIsGivenOneInPlace) {
    IniDocument document = IniDocument::Parse("[s]\r\nbare\r\nother=1\r\n");
    EXPECT_TRUE(document.Set("s", "bare", "now"));
    EXPECT_EQ(document.Serialise(), "[s]\r\nbare=now\r\nother=1\r\n");
}

TEST(IniDocumentTest, NamesAndValuesThatCannotBeStoredAreRecognised) {
    EXPECT_TRUE(IniDocument::IsValidSectionName("HidAccessCode"));
    EXPECT_TRUE(IniDocument::IsValidKeyName("standardKey"));
    EXPECT_TRUE(IniDocument::IsValidValue("  anything = ; # [x] \xE9  "));
    for (const char* bad : {"", "   ", "a]b", "a\r\nk=v", ";c", "[x", "\tx"}) {
        EXPECT_FALSE(IniDocument::IsValidSectionName(bad)) << bad;
    }
    for (const char* bad : {"", "  ", "a=b", "a\nb", ";c", "[x", "x\t"}) {
        EXPECT_FALSE(IniDocument::IsValidKeyName(bad)) << bad;
    }
    EXPECT_FALSE(IniDocument::IsValidValue("line\r\n[injected]"));
    EXPECT_FALSE(IniDocument::IsValidValue(std::string("a\0b", 3)));
}

}  // namespace
}  // namespace brenik::ini
