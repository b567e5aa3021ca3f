#include "registry_path.h"

#include "debug_output.h"

#include <cctype>

namespace brenik::monitor::media {
namespace {

struct RootWord {
    std::string_view word;
    RegistryRoot root;
};

constexpr RootWord kRootWords[] = {
    {"HKEY_LOCAL_MACHINE", RegistryRoot::kLocalMachine},
    {"HKEY_CURRENT_USER", RegistryRoot::kCurrentUser},
    {"HKEY_CURRENT_CONFIG", RegistryRoot::kCurrentConfig},
    {"HKEY_CLASSES_ROOT", RegistryRoot::kClassesRoot},
};

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i]))) return false;
    }
    return true;
}

}  // namespace

std::optional<RegistryPath> ParseRegistryPath(std::string_view path) {
    if (path.size() > kMaxRegistryPathChars) {
        DebugPrintf("CRegistryKey: path of %zu characters refused (at most %zu)\n", path.size(), kMaxRegistryPathChars);
        return std::nullopt;
    }
    const std::size_t backslash = path.find('\\');
    if (backslash == std::string_view::npos) {
        DebugPrintf("CRegistryKey: path without a backslash refused: \"%.*s\"\n", static_cast<int>(path.size()), path.data());
        return std::nullopt;
    }
    const std::string_view first = path.substr(0, backslash);
    for (const RootWord& known : kRootWords) {
        if (EqualsIgnoringCase(first, known.word)) return RegistryPath{known.root, std::string(path.substr(backslash + 1))};
    }
    return RegistryPath{RegistryRoot::kLocalMachine, std::string(path)};
}

}  // namespace brenik::monitor::media
