#include "history_folder.h"

#include "scoped_find.h"

#include <windows.h>

namespace brenik::history {
namespace {

class HistoryFolderWin32 final : public IHistoryFolder {
public:
    bool Make(const std::string& folder) override {
        if (CreateDirectoryA(folder.c_str(), nullptr)) return true;
        const DWORD attributes = GetFileAttributesA(folder.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    }

    std::vector<FolderFile> List(const std::string& folder, const std::string& extension) override {
        std::vector<FolderFile> files;
        WIN32_FIND_DATAA found{};
        win32::ScopedFind search(FindFirstFileA((folder + "*" + extension).c_str(), &found));
        if (!search.Valid()) return files;
        do {
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            const std::string name = found.cFileName;
            // The pattern also matches longer extensions ("*.bkh" finds "x.bkhtmp").
            if (name.size() < extension.size() || name.compare(name.size() - extension.size(), extension.size(), extension) != 0) {
                continue;
            }
            files.push_back({name, (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow});
        } while (FindNextFileA(search.Get(), &found));
        return files;
    }

    bool Remove(const std::string& path) override {
        return DeleteFileA(path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND;
    }
};

}  // namespace

IHistoryFolder& SystemHistoryFolder() {
    static HistoryFolderWin32 folder;
    return folder;
}

}  // namespace brenik::history
