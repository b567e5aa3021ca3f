#pragma once
// Whether the window says that the profiles were read from the keyboard over the files, and
// that the ones before are kept in the history: the newest copy is a read-back copy the window
// has not said yet, and it is new since the window opened (heard at the monitor's 1254) or was
// made within a day before the window opened (said as it opens). Each copy is said once.

#include "profile_history.h"

#include <cstdint>
#include <string>
#include <vector>

namespace brenik::option {

class ReadBackNotice {
public:
    // The history as the window opens, newest first.
    bool Opened(const std::vector<history::HistoryEntry>& copies, std::int64_t nowUtcSeconds);
    // The history after the monitor's 1254, newest first.
    bool SyncDone(const std::vector<history::HistoryEntry>& copies);

private:
    bool Say(const history::HistoryEntry& newest);

    std::string newestAtOpening_;
    std::string said_;
};

}  // namespace brenik::option
