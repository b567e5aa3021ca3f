#pragma once
// JSON output of the settings tool: one object or array built up in order and printed
// compact. Strings are escaped as RFC 8259 asks: quote, backslash and every control
// character; bytes from 0x80 up (profile names are ANSI text of the user's code page) are
// written as \u00XX, each byte as the Latin-1 character of its value, so the output is
// always valid ASCII JSON whatever the code page held.

#include <cstdint>
#include <string>
#include <string_view>

namespace brenik::settings {

// The text as a JSON string literal, quotes included.
std::string JsonString(std::string_view text);

// Builds one JSON value. Begin/End pairs nest; Key precedes each member of an object.
// Commas are placed by the writer; misuse (a Key inside an array) is the caller's fault and
// shows as invalid JSON in the tests, never as a crash.
class JsonWriter {
public:
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

    std::string text_;
    bool needComma_ = false;
};

}  // namespace brenik::settings
