#include "json_writer.h"

#include <cstdio>

namespace brenik::vkb {

void JsonWriter::BeginObject() {
    BeforeValue();
    text_ += '{';
    hasMembers_.push_back(false);
}

void JsonWriter::EndObject() {
    const bool had = hasMembers_.back();
    hasMembers_.pop_back();
    if (had) Newline();
    text_ += '}';
}

void JsonWriter::BeginArray() {
    BeforeValue();
    text_ += '[';
    hasMembers_.push_back(false);
}

void JsonWriter::EndArray() {
    const bool had = hasMembers_.back();
    hasMembers_.pop_back();
    if (had) Newline();
    text_ += ']';
}

void JsonWriter::Key(std::string_view name) {
    BeforeValue();
    AppendQuoted(name);
    text_ += ": ";
    afterKey_ = true;
}

void JsonWriter::Int(long long value) {
    BeforeValue();
    text_ += std::to_string(value);
}

void JsonWriter::Bool(bool value) {
    BeforeValue();
    text_ += value ? "true" : "false";
}

void JsonWriter::Null() {
    BeforeValue();
    text_ += "null";
}

void JsonWriter::String(std::string_view value) {
    BeforeValue();
    AppendQuoted(value);
}

void JsonWriter::AppendQuoted(std::string_view value) {
    text_ += '"';
    for (char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            text_ += '\\';
            text_ += c;
        } else if (byte < 0x20 || byte >= 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            text_ += escaped;
        } else {
            text_ += c;
        }
    }
    text_ += '"';
}

// A value directly after its key goes on the key's line; any other starts a new line,
// after a comma when it is not the first in its container.
void JsonWriter::BeforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (hasMembers_.empty()) return;
    if (hasMembers_.back()) text_ += ',';
    hasMembers_.back() = true;
    Newline();
}

void JsonWriter::Newline() {
    text_ += '\n';
    text_.append(hasMembers_.size() * 2, ' ');
}

std::string HexBytes(const std::uint8_t* bytes, std::size_t count) {
    static const char kDigits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(count * 2);
    for (std::size_t i = 0; i < count; ++i) {
        hex += kDigits[bytes[i] >> 4];
        hex += kDigits[bytes[i] & 0x0F];
    }
    return hex;
}

}  // namespace brenik::vkb
