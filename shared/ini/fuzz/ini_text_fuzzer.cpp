// The text of an INI file as another program or an editor may leave it: parsed, every kind of
// value read, one key written, the result parsed again.
//
// Input: three pieces (section, key, value of the write; each a length byte and its bytes),
// a second section and key to watch, then the file's text.
//
// Properties:
// - parsing and writing back an unchanged document gives the same bytes;
// - a read of a struct either fills exactly the bytes its text encodes or leaves them alone;
// - a write that is refused changes nothing and says why on the debugger output;
// - a write changes only its key: every other key reads as before, and apart from the one line
//   it replaces (or the place it adds lines) not one byte of the text moves;
// - what was written reads back.

#include "fuzz_input.h"
#include "ini_document.h"
#include "ini_file.h"
#include "ini_value_codec.h"
#include "memory_ini_storage.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

namespace {

using brenik::ini::CIniFile;
using brenik::ini::IniDocument;
using brenik::test::FuzzInput;

constexpr const char* kPath = "C:\\Brenik\\config.ini";

std::string_view TrimSpaces(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
    a = TrimSpaces(a);
    b = TrimSpaces(b);
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
               return fold(x) == fold(y);
           });
}

// What a value reads as: blanks around it dropped, then one pair of matching outer quotes.
std::string ReadForm(std::string_view value) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1A'; };
    while (!value.empty() && blank(value.front())) value.remove_prefix(1);
    while (!value.empty() && blank(value.back())) value.remove_suffix(1);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
}

std::optional<std::string> FindCopy(const IniDocument& document, std::string_view section, std::string_view key) {
    const auto found = document.Find(section, key);
    return found ? std::optional<std::string>(std::string(*found)) : std::nullopt;
}

std::size_t LineEnds(std::string_view text) {
    std::size_t ends = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))) ++ends;
    }
    return ends;
}

std::string Upper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}

void CheckStructRead(const CIniFile& ini, const IniDocument& document, std::string_view section, std::string_view key,
                     std::size_t size) {
    std::array<std::uint8_t, 64> dest;
    dest.fill(0xA5);
    const bool read = ini.ReadStruct(section, key, dest.data(), size);
    const auto text = document.Find(section, key);
    if (!read) {
        FUZZ_CHECK(std::all_of(dest.begin(), dest.end(), [](std::uint8_t b) { return b == 0xA5; }));
        return;
    }
    FUZZ_CHECK(text.has_value());
    FUZZ_CHECK(brenik::ini::EncodeStruct(dest.data(), size) == Upper(*text));
    FUZZ_CHECK(std::all_of(dest.begin() + static_cast<std::ptrdiff_t>(size), dest.end(),
                           [](std::uint8_t b) { return b == 0xA5; }));
}

void CheckReads(const CIniFile& ini, const IniDocument& document, std::string_view section, std::string_view key) {
    const auto value = document.Find(section, key);
    const std::string text = ini.ReadString(section, key, "default  ");
    FUZZ_CHECK(text == (value ? std::string(value->substr(0, brenik::ini::kMaxStringChars)) : std::string("default")));
    FUZZ_CHECK(text.size() <= brenik::ini::kMaxStringChars);
    const int number = ini.ReadInt(section, key, -7);
    if (!value || value->empty()) FUZZ_CHECK(number == -7);
    // The size the value's length stands for, so that a well-formed value is read whole.
    const std::size_t size = value && value->size() >= 2 ? std::min<std::size_t>((value->size() - 2) / 2, 63) : 4;
    CheckStructRead(ini, document, section, key, size);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    brenik::test::StartInput();
    FuzzInput input(data, size);
    const std::string section(input.Piece());
    const std::string key(input.Piece());
    const std::string value(input.Piece());
    const std::string otherSection(input.Piece());
    const std::string otherKey(input.Piece());
    const std::string text(input.Rest());

    const IniDocument before = IniDocument::Parse(text);
    FUZZ_CHECK(before.Serialise() == text);

    brenik::ini::test::MemoryIniStorage storage;
    storage.files[kPath] = text;
    const bool utf16 = text.size() >= 2 && ((text[0] == '\xFF' && text[1] == '\xFE') || (text[0] == '\xFE' && text[1] == '\xFF'));
    {
        CIniFile ini(kPath, storage);
        if (!utf16) {
            CheckReads(ini, before, section, key);
            CheckReads(ini, before, otherSection, otherKey);
        }
        FUZZ_CHECK(storage.writes == 0);

        brenik::test::ClearDebugLines();
        const bool valid = IniDocument::IsValidSectionName(section) && IniDocument::IsValidKeyName(key) &&
                           IniDocument::IsValidValue(value);
        const bool written = ini.WriteString(section, key, value);
        FUZZ_CHECK(written == (valid && !utf16));
        if (!written) {
            FUZZ_CHECK(storage.files[kPath] == text);
            FUZZ_CHECK(!brenik::test::DebugLines().empty());
            return 0;
        }
    }

    const std::string& after = storage.files[kPath];
    const IniDocument reparsed = IniDocument::Parse(after);
    FUZZ_CHECK(reparsed.Serialise() == after);

    // What was written reads back, as the platform would read it.
    const auto back = reparsed.Find(section, key);
    FUZZ_CHECK(back.has_value() && *back == ReadForm(value));

    // Every other key reads as before.
    if (!(SameNameIgnoringCase(section, otherSection) && SameNameIgnoringCase(key, otherKey))) {
        FUZZ_CHECK(FindCopy(before, otherSection, otherKey) == FindCopy(reparsed, otherSection, otherKey));
    }

    // Nothing else moves: between the longest common start and end of the two texts lies at
    // most one line of the old text.
    const std::size_t limit = std::min(text.size(), after.size());
    std::size_t head = 0;
    while (head < limit && text[head] == after[head]) ++head;
    std::size_t tail = 0;
    while (tail < limit - head && text[text.size() - 1 - tail] == after[after.size() - 1 - tail]) ++tail;
    const std::string_view replaced = std::string_view(text).substr(head, text.size() - head - tail);
    FUZZ_CHECK(LineEnds(replaced) <= 1);
    return 0;
}
