#pragma once
// Where CIniFile's text comes from and goes to. The Windows programs use the file system
// (ini_storage_win32.cpp); unit tests use a store in memory.

#include <mutex>
#include <string>
#include <string_view>

namespace brenik::ini {

enum class ReadOutcome {
    kRead,     // bytes holds the whole file
    kMissing,  // there is no such file: reads give their defaults, a write creates it
    kFailed,   // the file exists but could not be read: reads give defaults, writes are refused
};

class IIniStorage {
public:
    virtual ~IIniStorage() = default;
    virtual ReadOutcome ReadAll(const std::string& path, std::string& bytes) = 0;
    // Replaces the whole file so that a crash at any moment leaves either the old or the new
    // text, never a file cut short. Creates a missing file, but not a missing folder.
    virtual bool ReplaceAll(const std::string& path, std::string_view bytes) = 0;

    // Held by CIniFile from the read of a file to the replacement of it, so that two threads
    // of one program changing the same file (the monitor's window thread and job thread both
    // write config.ini) cannot each read the old text and lose the other's change. Other
    // programs use the platform's functions, which no lock of ours can reach.
    std::recursive_mutex& ChangeLock() { return changeLock_; }

private:
    std::recursive_mutex changeLock_;
};

// The file system of the running platform; defined by the Windows layer.
IIniStorage& SystemIniStorage();

}  // namespace brenik::ini
