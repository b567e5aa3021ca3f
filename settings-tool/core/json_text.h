#pragma once
// JSON output of the settings tool: one object or array built up in order and printed
// compact. Strings are escaped as RFC 8259 asks: quote, backslash and every control
// character. Profile names, paths and the command line's words are ANSI text of the user's
// code page, and JSON is UTF-8: the Windows layer supplies the conversion (ToUtf8) and its
// UTF-8 is written as it is. Without one (the tests), each byte from 0x80 up is written as
// \u00XX, the Latin-1 character of its value, which is still valid JSON.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

namespace brenik::settings {

// Text of the user's ANSI code page to UTF-8.
using ToUtf8 = std::function<std::string(std::string_view)>;

// The text as a JSON string literal, quotes included.
std::string JsonString(std::string_view text, const ToUtf8& toUtf8 = {});

// Builds one JSON value. Begin/End pairs nest; Key precedes each member of an object.
// Commas are placed by the writer; misuse (a Key inside an array) is the caller's fault and
// shows as invalid JSON in the tests, never as a crash. String values and keys go through
// toUtf8 when one is given.
class JsonWriter {
public:
    explicit JsonWriter(ToUtf8 toUtf8 = {}) : toUtf8_(std::move(toUtf8)) {}
    JsonWriter& BeginObject();
    JsonWriter& EndObject();
    JsonWriter& BeginArray();
    JsonWriter& EndArray();
    JsonWriter& Key(std::string_view name);
    JsonWriter& String(std::string_view value);
    JsonWriter& Number(std::int64_t value);
    JsonWriter& Bool(bool value);
    JsonWriter& Null();

    const std::string& Text() const { return text_; }

private:
    void BeforeValue();

    ToUtf8 toUtf8_;
    std::string text_;
    bool needComma_ = false;
};

}  // namespace brenik::settings
