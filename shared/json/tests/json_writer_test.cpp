#include "json_writer.h"

#include <gtest/gtest.h>

namespace brenik::json {
namespace {

TEST(JsonText, EscapesQuotesBackslashesControlsAndHighBytes) {
    EXPECT_EQ(JsonString("plain"), "\"plain\"");
    EXPECT_EQ(JsonString("a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(JsonString("C:\\Games\\x.exe"), "\"C:\\\\Games\\\\x.exe\"");
    EXPECT_EQ(JsonString("1\n2\r3\t4"), "\"1\\n2\\r3\\t4\"");
    EXPECT_EQ(JsonString(std::string("\x01\x1f\x7f", 3)), "\"\\u0001\\u001f\\u007f\"");
    EXPECT_EQ(JsonString(std::string("\0", 1)), "\"\\u0000\"");
    // A code-page byte becomes its Latin-1 character, never a raw byte that breaks UTF-8.
    EXPECT_EQ(JsonString("\xE9t\xE9"), "\"\\u00e9t\\u00e9\"");
}

// Two bytes of Windows-1252 as the Windows layer's conversion would give them.
std::string FakeCodePageToUtf8(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '\x80') out += "\xE2\x82\xAC";       // euro sign
        else if (c == '\xE9') out += "\xC3\xA9";      // e acute
        else out += c;
    }
    return out;
}

TEST(JsonText, ConvertsCodePageTextToUtf8AndStillEscapesControls) {
    EXPECT_EQ(JsonString("\x80 caf\xE9\n", FakeCodePageToUtf8), "\"\xE2\x82\xAC caf\xC3\xA9\\n\"");
    JsonWriter json(FakeCodePageToUtf8);
    json.BeginObject().Key("n\xE9").String("\x80").EndObject();
    EXPECT_EQ(json.Text(), "{\"n\xC3\xA9\":\"\xE2\x82\xAC\"}");
}

TEST(JsonText, WriterPlacesCommasInNestedValues) {
    JsonWriter json;
    json.BeginObject().Key("a").Number(-3).Key("b").BeginArray().Bool(true).Null().String("x").EndArray();
    json.Key("c").BeginObject().EndObject().Key("d").BeginArray().BeginObject().Key("e").Number(1).EndObject();
    json.BeginObject().EndObject().EndArray().EndObject();
    EXPECT_EQ(json.Text(), "{\"a\":-3,\"b\":[true,null,\"x\"],\"c\":{},\"d\":[{\"e\":1},{}]}");
}

}  // namespace
}  // namespace brenik::json
