#pragma once
// The history copy a state's profiles would make: each profile file as the monitor writes it
// and a config.ini naming the current profile. For the unit tests of restoring a copy.

#include "history_copy.h"
#include "memory_ini_storage.h"
#include "profile_store.h"

#include <string>

namespace brenik::test {

inline history::HistoryCopy HistoryCopyOfState(const StateRecord& state) {
    ini::test::MemoryIniStorage files;
    history::HistoryCopy copy;
    copy.when = {1000, "2026-12-09 07:00:00"};
    copy.reason = history::HistoryReason::kReadBack;
    for (int p = 0; p < kProfileCount; ++p) {
        const std::string name = "config\\Default" + std::to_string(p) + ".cmp";
        SaveProfileFile(state.Profiles[p], name, files);
        copy.files.push_back({name, files.files[name]});
    }
    copy.files.push_back({"config.ini", "[Setting]\r\nDevice=1\r\nCurrentProfile=" + std::to_string(state.CurrentProfile) + "\r\n"});
    return copy;
}

}  // namespace brenik::test
