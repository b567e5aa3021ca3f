#include "memory_history_folder.h"

namespace brenik::history::test {

bool MemoryHistoryFolder::Make(const std::string& folder) {
    if (failMake) return false;
    folders.insert(folder);
    return true;
}

std::vector<FolderFile> MemoryHistoryFolder::List(const std::string& folder, const std::string& extension) {
    std::vector<FolderFile> files;
    for (const auto& [path, bytes] : storage_.files) {
        if (path.compare(0, folder.size(), folder) != 0) continue;
        const std::string name = path.substr(folder.size());
        if (name.size() > extension.size() && name.find('\\') == std::string::npos &&
            name.compare(name.size() - extension.size(), extension.size(), extension) == 0) {
            files.push_back({name, bytes.size()});
        }
    }
    return files;
}

bool MemoryHistoryFolder::Remove(const std::string& path) { return storage_.files.erase(path) == 1; }

}  // namespace brenik::history::test
