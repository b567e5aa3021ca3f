#include "json_writer.h"

#include <cstdio>

namespace brenik::json {
namespace {

// namedEscapes: \n, \r and \t by name (the compact form), else as \u00XX like every other
// control character.
void AppendJsonString(std::string& out, std::string_view text, const ToUtf8& toUtf8, bool namedEscapes) {
    const std::string converted = toUtf8 ? toUtf8(text) : std::string();
    if (toUtf8) text = converted;
    out += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (namedEscapes && c == '\n') {
            out += "\\n";
        } else if (namedEscapes && c == '\r') {
            out += "\\r";
        } else if (namedEscapes && c == '\t') {
            out += "\\t";
        } else if (byte < 0x20 || byte == 0x7F || (byte > 0x7F && !toUtf8)) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    out += '"';
}

}  // namespace

std::string JsonString(std::string_view text, const ToUtf8& toUtf8) {
    std::string out;
    AppendJsonString(out, text, toUtf8, true);
    return out;
}

JsonWriter& JsonWriter::BeginObject() {
    Open('{');
    return *this;
}

JsonWriter& JsonWriter::EndObject() {
    Close('}');
    return *this;
}

JsonWriter& JsonWriter::BeginArray() {
    Open('[');
    return *this;
}

JsonWriter& JsonWriter::EndArray() {
    Close(']');
    return *this;
}

JsonWriter& JsonWriter::Key(std::string_view name) {
    BeforeValue();
    AppendQuoted(name);
    text_ += style_ == JsonStyle::kIndented ? ": " : ":";
    afterKey_ = true;
    return *this;
}

JsonWriter& JsonWriter::String(std::string_view value) {
    BeforeValue();
    AppendQuoted(value);
    return *this;
}

JsonWriter& JsonWriter::Number(std::int64_t value) {
    BeforeValue();
    text_ += std::to_string(value);
    return *this;
}

JsonWriter& JsonWriter::Bool(bool value) {
    BeforeValue();
    text_ += value ? "true" : "false";
    return *this;
}

JsonWriter& JsonWriter::Null() {
    BeforeValue();
    text_ += "null";
    return *this;
}

// A value directly after its key stays beside it; any other follows a comma when it is not
// the first in its container and, indented, starts a line of its own.
void JsonWriter::BeforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (hasMembers_.back()) text_ += ',';
    hasMembers_.back() = true;
    if (hasMembers_.size() > 1) NewLine();
}

void JsonWriter::Open(char bracket) {
    BeforeValue();
    text_ += bracket;
    hasMembers_.push_back(false);
}

// A container with members closes on a line of the outer level; an empty one beside its opening.
void JsonWriter::Close(char bracket) {
    bool had = false;
    if (hasMembers_.size() > 1) {
        had = hasMembers_.back();
        hasMembers_.pop_back();
    }
    if (had) NewLine();
    text_ += bracket;
}

void JsonWriter::AppendQuoted(std::string_view text) {
    AppendJsonString(text_, text, toUtf8_, style_ == JsonStyle::kCompact);
}

void JsonWriter::NewLine() {
    if (style_ != JsonStyle::kIndented) return;
    text_ += '\n';
    text_.append((hasMembers_.size() - 1) * 2, ' ');
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

}  // namespace brenik::json
