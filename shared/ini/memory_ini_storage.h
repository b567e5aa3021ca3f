#pragma once
// An IIniStorage in memory for unit tests: files by path, counters of reads and writes, and
// switches to make a file unreadable or a write fail.

#include "ini_storage.h"

#include <map>
#include <set>
#include <string>

namespace brenik::ini::test {

class MemoryIniStorage final : public ini::IIniStorage {
public:
    ini::ReadOutcome ReadAll(const std::string& path, std::string& bytes) override;
    bool ReplaceAll(const std::string& path, std::string_view bytes) override;

    std::map<std::string, std::string> files;
    std::set<std::string> unreadable;  // exist, but every read fails
    bool failWrites = false;
    int reads = 0;
    int writes = 0;
};

}  // namespace brenik::ini::test
