#include "memory_ini_storage.h"

namespace brenik::ini::test {

ini::ReadOutcome MemoryIniStorage::ReadAll(const std::string& path, std::string& bytes) {
    ++reads;
    bytes.clear();
    if (unreadable.count(path)) return ini::ReadOutcome::kFailed;
    const auto file = files.find(path);
    if (file == files.end()) return ini::ReadOutcome::kMissing;
    bytes = file->second;
    return ini::ReadOutcome::kRead;
}

bool MemoryIniStorage::ReplaceAll(const std::string& path, std::string_view bytes) {
    ++writes;
    if (failWrites) return false;
    files[path] = std::string(bytes);
    return true;
}

}  // namespace brenik::ini::test
