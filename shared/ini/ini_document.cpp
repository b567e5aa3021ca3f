#include "ini_document.h"

namespace brenik::ini {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\n' || c == '\x1A';
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

// The platform drops only spaces around the section and key it is asked for.
std::string_view TrimSpaces(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

char FoldAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    }
    return true;
}

std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

// The first CR or LF at or after start. A plain loop: find_first_of with a set is several
// times slower on the long struct lines of a profile file.
std::size_t FindLineBreak(std::string_view text, std::size_t start) {
    for (std::size_t i = start; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') return i;
    }
    return text.npos;
}

bool HasLineBreakOrNul(std::string_view s) { return s.find_first_of(std::string_view("\r\n\0", 3)) != s.npos; }

}  // namespace

std::string_view IniDocument::Line::Name() const {
    return text.substr(nameBegin, nameLength);
}

std::optional<std::string_view> IniDocument::Line::Value() const {
    if (!hasValue) return std::nullopt;
    return Unquote(text.substr(valueBegin, valueLength));
}

constexpr std::string_view kCrLf = "\r\n";

IniDocument::IniDocument() : source_(std::make_unique<const std::string>()) {}

std::string_view IniDocument::Own(std::string text) { return ownedTexts_.emplace_back(std::move(text)); }

IniDocument::Line IniDocument::ParseLine(std::string_view text, std::string_view end) {
    Line line;
    line.text = text;
    line.end = end;
    const std::string_view all(line.text);
    const std::string_view body = TrimBlanks(all);
    if (body.empty() || body.front() == ';') return line;
    const auto offset = [&](std::string_view part) { return static_cast<std::size_t>(part.data() - all.data()); };
    if (body.front() == '[') {
        std::string_view name = body.substr(1);
        name = name.substr(0, name.find(']'));
        name = TrimBlanks(name);
        line.kind = LineKind::kSection;
        line.nameBegin = name.empty() ? 0 : offset(name);
        line.nameLength = name.size();
        return line;
    }
    const std::size_t equals = body.find('=');
    const std::string_view name = TrimBlanks(body.substr(0, equals));
    line.kind = LineKind::kKey;
    line.nameBegin = name.empty() ? 0 : offset(name);
    line.nameLength = name.size();
    if (equals != body.npos) {
        const std::string_view value = TrimBlanks(body.substr(equals + 1));
        line.hasValue = true;
        line.valueBegin = value.empty() ? 0 : offset(value);
        line.valueLength = value.size();
    }
    return line;
}

IniDocument IniDocument::Parse(std::string_view original) {
    IniDocument document;
    document.source_ = std::make_unique<const std::string>(original);
    const std::string_view text(*document.source_);
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t stop = FindLineBreak(text, start);
        if (stop == text.npos) {
            document.lines_.push_back(ParseLine(text.substr(start), {}));
            break;
        }
        const std::size_t endLength = (text[stop] == '\r' && stop + 1 < text.size() && text[stop + 1] == '\n') ? 2 : 1;
        document.lines_.push_back(ParseLine(text.substr(start, stop - start), text.substr(stop, endLength)));
        start = stop + endLength;
    }
    return document;
}

std::string IniDocument::Serialise() const {
    std::size_t size = 0;
    for (const Line& line : lines_) size += line.text.size() + line.end.size();
    std::string text;
    text.reserve(size);
    for (const Line& line : lines_) {
        text += line.text;
        text += line.end;
    }
    return text;
}

std::optional<std::size_t> IniDocument::FindSection(std::string_view section) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind == LineKind::kSection && SameName(lines_[i].Name(), section)) return i;
    }
    return std::nullopt;
}

std::optional<std::size_t> IniDocument::FindKey(std::size_t sectionLine, std::string_view key) const {
    for (std::size_t i = sectionLine + 1; i < lines_.size() && lines_[i].kind != LineKind::kSection; ++i) {
        if (lines_[i].kind == LineKind::kKey && SameName(lines_[i].Name(), key)) return i;
    }
    return std::nullopt;
}

std::optional<std::string_view> IniDocument::Find(std::string_view section, std::string_view key) const {
    const auto sectionLine = FindSection(TrimSpaces(section));
    if (!sectionLine) return std::nullopt;
    const auto keyLine = FindKey(*sectionLine, TrimSpaces(key));
    if (!keyLine) return std::nullopt;
    return lines_[*keyLine].Value();
}

void IniDocument::EndLastLine() {
    if (!lines_.empty() && lines_.back().end.empty()) lines_.back().end = kCrLf;
}

bool IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
    section = TrimSpaces(section);
    key = TrimSpaces(key);
    const auto sectionLine = FindSection(section);
    if (!sectionLine) {
        EndLastLine();
        lines_.push_back(ParseLine(Own("[" + std::string(section) + "]"), kCrLf));
        lines_.push_back(ParseLine(Own(std::string(key) + "=" + std::string(value)), kCrLf));
        return true;
    }
    if (const auto keyLine = FindKey(*sectionLine, key)) {
        Line& line = lines_[*keyLine];
        // The key keeps the spelling the file gave it.
        std::string text = std::string(line.Name()) + "=" + std::string(value);
        if (text == line.text) return false;
        line = ParseLine(Own(std::move(text)), kCrLf);
        return true;
    }
    std::size_t after = *sectionLine;
    for (std::size_t i = *sectionLine + 1; i < lines_.size() && lines_[i].kind != LineKind::kSection; ++i) {
        if (lines_[i].kind == LineKind::kKey) after = i;
    }
    if (lines_[after].end.empty()) lines_[after].end = kCrLf;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(after) + 1,
                  ParseLine(Own(std::string(key) + "=" + std::string(value)), kCrLf));
    return true;
}

bool IniDocument::IsValidSectionName(std::string_view name) {
    name = TrimSpaces(name);
    return !name.empty() && !HasLineBreakOrNul(name) && name.find(']') == name.npos && name.front() != ';' &&
           name.front() != '[' && TrimBlanks(name) == name;
}

bool IniDocument::IsValidKeyName(std::string_view name) {
    name = TrimSpaces(name);
    return !name.empty() && !HasLineBreakOrNul(name) && name.find('=') == name.npos && name.front() != ';' &&
           name.front() != '[' && TrimBlanks(name) == name;
}

bool IniDocument::IsValidValue(std::string_view value) { return !HasLineBreakOrNul(value); }

}  // namespace brenik::ini
