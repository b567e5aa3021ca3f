#pragma once
// JSON text built up in order, for every program that prints it: objects, arrays, strings,
// whole numbers, booleans and null. Strings are escaped as RFC 8259 asks: quote, backslash
// and every control character. Two forms, each kept as its readers know it:
//   kCompact   one line without blanks, \n, \r and \t escaped by name: the settings tool's
//              output, one object a line for scripts;
//   kIndented  every member and element on a line of its own, two blanks a level, a blank
//              after a key's colon, every control character as \u00XX: the virtual
//              keyboard's state dump, which people read too.
// Text of the user's ANSI code page (profile names, paths, the command line's words) is not
// UTF-8, and JSON is: a program on Windows supplies the conversion (ToUtf8) and its UTF-8 is
// written as it is. Without one (the tests, the virtual keyboard), each byte from 0x80 up is
// written as \u00XX, the Latin-1 character of its value, which is still valid JSON.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace brenik::json {

// Text of the user's ANSI code page to UTF-8.
using ToUtf8 = std::function<std::string(std::string_view)>;

enum class JsonStyle { kCompact, kIndented };

// The text as a JSON string literal of the compact form, quotes included.
std::string JsonString(std::string_view text, const ToUtf8& toUtf8 = {});

// Builds one JSON value. Begin/End pairs nest; Key precedes each member of an object.
// Commas and line breaks are placed by the writer; misuse (a Key inside an array, an End
// too many) is the caller's fault and shows as invalid JSON in the tests, never as a crash.
// String values and keys go through toUtf8 when one is given.
class JsonWriter {
public:
    explicit JsonWriter(JsonStyle style = JsonStyle::kCompact, ToUtf8 toUtf8 = {})
        : style_(style), toUtf8_(std::move(toUtf8)) {}
    explicit JsonWriter(ToUtf8 toUtf8) : JsonWriter(JsonStyle::kCompact, std::move(toUtf8)) {}

    JsonWriter& BeginObject();
    JsonWriter& EndObject();
    JsonWriter& BeginArray();
    JsonWriter& EndArray();
    // The name of the next member inside an object.
    JsonWriter& Key(std::string_view name);
    JsonWriter& String(std::string_view value);
    JsonWriter& Number(std::int64_t value);
    JsonWriter& Bool(bool value);
    JsonWriter& Null();

    const std::string& Text() const { return text_; }

private:
    void BeforeValue();
    void Open(char bracket);
    void Close(char bracket);
    void AppendQuoted(std::string_view text);
    void NewLine();

    JsonStyle style_;
    ToUtf8 toUtf8_;
    std::string text_;
    // One per open object or array, after the top level: whether it has a member yet.
    std::vector<bool> hasMembers_{false};
    bool afterKey_ = false;
};

// Lower-case hexadecimal digits of the bytes, two per byte: a byte string as a JSON string.
std::string HexBytes(const std::uint8_t* bytes, std::size_t count);

}  // namespace brenik::json
