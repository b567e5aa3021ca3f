#pragma once
// The history's folder over an ini::test::MemoryIniStorage's files, for unit tests: the files
// whose paths lie directly in a folder are its listing; a switch makes the folder fail.

#include "history_folder.h"
#include "memory_ini_storage.h"

#include <set>
#include <string>
#include <vector>

namespace brenik::history::test {

class MemoryHistoryFolder final : public IHistoryFolder {
public:
    explicit MemoryHistoryFolder(ini::test::MemoryIniStorage& storage) : storage_(storage) {}
    bool Make(const std::string& folder) override;
    std::vector<FolderFile> List(const std::string& folder, const std::string& extension) override;
    bool Remove(const std::string& path) override;

    std::set<std::string> folders;
    bool failMake = false;

private:
    ini::test::MemoryIniStorage& storage_;
};

}  // namespace brenik::history::test
