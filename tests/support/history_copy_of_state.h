#pragma once
// The history copy a state's profiles would make: each profile file as the monitor writes it
// and a config.ini naming the current profile; and a state worth restoring. For the unit tests
// of restoring a copy.

#include "history_copy.h"
#include "memory_ini_storage.h"
#include "profile_store.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace brenik::test {

// Five default profiles but for profile 2 (named "Raid", a macro on key 5) and profile 4's
// blue; profile 2 is current.
inline std::unique_ptr<StateRecord> StateToRestore() {
    auto state = std::make_unique<StateRecord>();
    ClearState(*state);
    for (int p = 0; p < kProfileCount; ++p) SetDefaultProfile(state->Profiles[p], p);
    ProfileRecord& raid = state->Profiles[1];
    std::memset(raid.ProFileName, 0, sizeof raid.ProFileName);
    std::snprintf(raid.ProFileName, sizeof raid.ProFileName, "%s", "Raid");
    raid.MacroKeyInfo[4].FunctionType = kFunctionMacro;
    raid.MacroKeyInfo[4].ActionCount = 2;
    raid.MacroKeyInfo[4].Actions[0] = {0x04, 1, 30};
    raid.MacroKeyInfo[4].Actions[1] = {0x04, 2, 0};
    state->Profiles[3].LtColorBlue = 200;
    state->CurrentProfile = 1;
    return state;
}

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
