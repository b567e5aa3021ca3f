#include "program_name.h"

#include <cstring>

namespace brenik {
namespace {

// The white space the C library's isspace knows in the "C" locale.
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace

std::string_view ProgramFileName(std::string_view path) {
    path = Trimmed(path);
    const std::size_t separator = path.find_last_of("\\/");
    if (separator != std::string_view::npos) return path.substr(separator + 1);
    if (path.size() >= 2 && path[1] == ':') return path.substr(2);  // "D:Game.EXE"
    return path;
}

bool SameProgramName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    }
    return true;
}

std::string_view FieldText(const char* field, std::size_t size) {
    const void* end = std::memchr(field, '\0', size);
    return {field, end == nullptr ? size : static_cast<std::size_t>(static_cast<const char*>(end) - field)};
}

}  // namespace brenik
