#pragma once
// A small writer of indented JSON text for the state dump: objects, arrays, numbers,
// booleans, strings (escaped) and null. The caller nests Begin/End calls correctly.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace brenik::vkb {

class JsonWriter {
public:
    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    // The name of the next member inside an object.
    void Key(std::string_view name);
    void Int(long long value);
    void Bool(bool value);
    void String(std::string_view value);
    void Null();

    const std::string& Text() const { return text_; }

private:
    void BeforeValue();
    void AppendQuoted(std::string_view value);
    void Newline();

    std::string text_;
    std::vector<bool> hasMembers_;  // one per open object or array
    bool afterKey_ = false;
};

// Lower-case hex digits of the bytes, two per byte.
std::string HexBytes(const std::uint8_t* bytes, std::size_t count);

}  // namespace brenik::vkb
