#pragma once
// A registry key named by one string, as CRegistryKey takes it: an optional root word, a
// backslash, and the sub-key below that root.
// - The root word is the text before the first backslash, compared without regard to case:
//   "HKEY_LOCAL_MACHINE", "HKEY_CURRENT_USER", "HKEY_CURRENT_CONFIG", "HKEY_CLASSES_ROOT".
//   For one of those the sub-key is everything after that backslash.
// - Any other first word means HKEY_LOCAL_MACHINE, and the whole path is the sub-key:
//   "SOFTWARE\Classes\x" and "HKEY_LOCAL_MACHINE\SOFTWARE\Classes\x" name the same key.
// - A path without a backslash names nothing (it is refused rather than read as a sub-key of
//   whatever root an earlier path named), and so does a path longer than 263 characters, the
//   most the key's sub-key field holds.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace brenik::monitor::media {

enum class RegistryRoot { kLocalMachine, kCurrentUser, kCurrentConfig, kClassesRoot };

struct RegistryPath {
    RegistryRoot root = RegistryRoot::kLocalMachine;
    std::string subKey;
};

constexpr std::size_t kMaxRegistryPathChars = 263;

// nullopt, with a debug line, for a path without a backslash or too long.
std::optional<RegistryPath> ParseRegistryPath(std::string_view path);

}  // namespace brenik::monitor::media
