// INI files on the Windows file system. Reads share the file with every other program;
// writes go to a temporary file in the same folder, flushed to disk, which then replaces the
// original in one move, so a crash or power loss mid-save never leaves a profile cut short.
// A program killed in mid-save leaves its temporary file behind; a later save in that folder
// removes it, so none pile up.

#include "ini_storage.h"

#include "debug_output.h"
#include "program_folder.h"
#include "scoped_find.h"
#include "scoped_handle.h"

#include <windows.h>

#include <cstdint>

namespace brenik::ini {
namespace {

// No INI file of ours comes near this; a bigger one is damaged or not ours.
constexpr std::int64_t kMaxFileBytes = 16 * 1024 * 1024;
// Other programs open config.ini briefly, some without sharing (the platform's own writer
// does); a few short retries ride over that.
constexpr int kBusyRetries = 10;
constexpr DWORD kBusyRetryMs = 20;
// GetTempFileName's prefix for our temporary files: "ini" and four hex digits, ".tmp".
constexpr const char* kTemporaryPrefix = "ini";
constexpr const char* kTemporaryPattern = "ini*.tmp";
// A temporary file lives for the milliseconds of one save; one this old is a leftover. The
// age keeps a save of another process (a monitor of another session sharing the folder, a
// test) from losing its file between writing it and moving it.
constexpr ULONGLONG kLeftoverAgeMs = 10000;

bool IsBusy(DWORD error) { return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED || error == ERROR_LOCK_VIOLATION; }

win32::ScopedHandle OpenForReading(const std::string& path, DWORD& error) {
    for (int attempt = 0;; ++attempt) {
        win32::ScopedHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        error = file.Valid() ? ERROR_SUCCESS : GetLastError();
        if (file.Valid() || error != ERROR_SHARING_VIOLATION || attempt == kBusyRetries) return file;
        Sleep(kBusyRetryMs);
    }
}

bool ReadWhole(HANDLE file, const std::string& path, std::string& bytes) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size)) return false;
    if (size.QuadPart > kMaxFileBytes) {
        DebugPrintf("CIniFile refused %s: %lld bytes is too large for an INI file\n", path.c_str(),
                    static_cast<long long>(size.QuadPart));
        return false;
    }
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        if (!ReadFile(file, &bytes[done], static_cast<DWORD>(bytes.size() - done), &got, nullptr)) return false;
        if (got == 0) break;  // the file shrank under us; take what is there
        done += got;
    }
    bytes.resize(done);
    return true;
}

bool WriteWhole(const std::string& path, std::string_view bytes) {
    win32::ScopedHandle file(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return false;
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD put = 0;
        if (!WriteFile(file.Get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &put, nullptr) || put == 0) {
            return false;
        }
        done += put;
    }
    return FlushFileBuffers(file.Get()) != 0;
}

bool MoveOver(const std::string& from, const std::string& to) {
    for (int attempt = 0;; ++attempt) {
        if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
        if (!IsBusy(GetLastError()) || attempt == kBusyRetries) return false;
        Sleep(kBusyRetryMs);
    }
}

ULONGLONG AgeMs(const FILETIME& written) {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const ULARGE_INTEGER then{{written.dwLowDateTime, written.dwHighDateTime}};
    const ULARGE_INTEGER current{{now.dwLowDateTime, now.dwHighDateTime}};
    return current.QuadPart > then.QuadPart ? (current.QuadPart - then.QuadPart) / 10000 : 0;
}

// Removes our temporary files older than kLeftoverAgeMs: leftovers of saves that were killed.
// folder ends in a separator, or is "" for the current directory.
void RemoveLeftoverTemporaries(const std::string& folder) {
    WIN32_FIND_DATAA found{};
    const win32::ScopedFind search(FindFirstFileA((folder + kTemporaryPattern).c_str(), &found));
    if (!search.Valid()) return;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
        if (AgeMs(found.ftLastWriteTime) < kLeftoverAgeMs) continue;
        const std::string path = folder + found.cFileName;
        if (DeleteFileA(path.c_str())) DebugPrintf("CIniFile removed %s, left by a save that did not finish\n", path.c_str());
    } while (FindNextFileA(search.Get(), &found));
}

class FileSystemStorage final : public IIniStorage {
public:
    ReadOutcome ReadAll(const std::string& path, std::string& bytes) override {
        bytes.clear();
        DWORD error = ERROR_SUCCESS;
        win32::ScopedHandle file = OpenForReading(path, error);
        if (!file.Valid()) {
            if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return ReadOutcome::kMissing;
            DebugPrintf("CIniFile could not open %s (error %lu)\n", path.c_str(), static_cast<unsigned long>(error));
            return ReadOutcome::kFailed;
        }
        if (!ReadWhole(file.Get(), path, bytes)) {
            bytes.clear();
            return ReadOutcome::kFailed;
        }
        return ReadOutcome::kRead;
    }

    bool ReplaceAll(const std::string& path, std::string_view bytes) override {
        std::string folder = FolderOfPath(path);
        if (folder.empty()) folder = ".";
        char temporary[MAX_PATH + 1] = {};
        // Creates a uniquely named empty file, so the monitor's two threads never share one;
        // fails for a missing folder, which is not to be created.
        if (!GetTempFileNameA(folder.c_str(), kTemporaryPrefix, 0, temporary)) return false;
        const std::string temporaryPath = temporary;
        if (WriteWhole(temporaryPath, bytes) && MoveOver(temporaryPath, path)) {
            RemoveLeftoverTemporaries(FolderOfPath(temporaryPath));
            return true;
        }
        DebugPrintf("CIniFile could not replace %s (error %lu)\n", path.c_str(), static_cast<unsigned long>(GetLastError()));
        DeleteFileA(temporaryPath.c_str());
        return false;
    }
};

}  // namespace

IIniStorage& SystemIniStorage() {
    static FileSystemStorage storage;
    return storage;
}

}  // namespace brenik::ini
