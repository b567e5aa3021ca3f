#pragma once
// The history's folder as the history needs it beyond reading and replacing whole files
// (ini::IIniStorage): made when missing, its copies listed, one removed. The Windows layer is
// history_folder_win32.cpp; the tests keep the folder in memory.

#include <cstdint>
#include <string>
#include <vector>

namespace brenik::history {

struct FolderFile {
    std::string name;  // without the folder
    std::uint64_t bytes = 0;
};

class IHistoryFolder {
public:
    virtual ~IHistoryFolder() = default;
    // True when the folder is there afterwards (made now, or already).
    virtual bool Make(const std::string& folder) = 0;
    // The files in the folder whose names end in `extension`; empty when there is none.
    virtual std::vector<FolderFile> List(const std::string& folder, const std::string& extension) = 0;
    virtual bool Remove(const std::string& path) = 0;
};

// The running platform's file system.
IHistoryFolder& SystemHistoryFolder();

}  // namespace brenik::history
