#pragma once
// The text of one INI file in memory, read and changed by the platform's private-profile
// rules, so that files written by the settings program and by earlier installations keep
// working and other programs keep reading ours:
// - lines end at CR, LF or CRLF; blanks (space, tab, VT, FF, 0x1A) around lines, names and
//   values do not count;
// - "[name]" opens a section; the name ends at the first "]" (or the line's end) and is
//   trimmed; only the first section of a name is ever searched;
// - a line whose first character is ";" is a comment; there are no inline comments and "#"
//   is ordinary text;
// - a key ends at the first "="; the first of duplicate keys wins; a line without "=" is a
//   key without a value, which reads as missing; lines before the first section are
//   unreachable;
// - one matching pair of outer quotes (" or ') is removed from a value when read;
// - names compare without regard to ASCII case; all other bytes pass through unchanged.
// Changing a value rewrites only its own line; every other byte of the file stays as it was.

#include <cstddef>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brenik::ini {

class IniDocument {
public:
    IniDocument();
    static IniDocument Parse(std::string_view text);

    // Lines point into the document's own text, so a document moves but does not copy.
    IniDocument(IniDocument&&) = default;
    IniDocument& operator=(IniDocument&&) = default;
    IniDocument(const IniDocument&) = delete;
    IniDocument& operator=(const IniDocument&) = delete;

    // The whole text, unchanged lines byte for byte; changed and new lines end in CRLF.
    std::string Serialise() const;

    // The value of a key in the first section of that name, quotes removed; nullopt when the
    // section or key is missing or the key has no "=". Spaces around the arguments are
    // ignored, as the platform ignores them.
    std::optional<std::string_view> Find(std::string_view section, std::string_view key) const;

    // Sets a key's value verbatim: replaces the line of an existing key in place, or adds the
    // key after the last key of its section, or adds the section at the end. Returns true if
    // the text changed. The caller checks names and value with IsValidName/IsValidValue.
    bool Set(std::string_view section, std::string_view key, std::string_view value);

    // Names that can be written and found again: not empty, no line break, no "=" in a key,
    // no "]" in a section, not starting with ";" or "[".
    static bool IsValidSectionName(std::string_view name);
    static bool IsValidKeyName(std::string_view name);
    // A value may hold anything but a line break or a NUL.
    static bool IsValidValue(std::string_view value);

private:
    enum class LineKind { kOther, kSection, kKey };
    struct Line {
        std::string_view text;  // without its line end
        std::string_view end;   // "\r\n", "\n", "\r", or "" for a last line without one
        LineKind kind = LineKind::kOther;
        std::string_view Name() const;
        std::optional<std::string_view> Value() const;
        std::size_t nameBegin = 0, nameLength = 0;
        std::size_t valueBegin = 0, valueLength = 0;
        bool hasValue = false;
    };
    static Line ParseLine(std::string_view text, std::string_view end);
    // Keeps a changed or new line's text alive for as long as the document.
    std::string_view Own(std::string text);
    std::optional<std::size_t> FindSection(std::string_view section) const;
    std::optional<std::size_t> FindKey(std::size_t sectionLine, std::string_view key) const;
    void EndLastLine();

    // The parsed text, and the texts of lines changed since; both keep their characters in
    // place when the document moves (a heap block, and a deque that never relocates).
    std::unique_ptr<const std::string> source_;
    std::deque<std::string> ownedTexts_;
    std::vector<Line> lines_;
};

}  // namespace brenik::ini
