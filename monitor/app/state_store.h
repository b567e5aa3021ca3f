#pragma once
// Where the working copy goes: the shared block other programs read, the profile files and
// their history. StateStore (state_store_win32.h) on Windows, a recorder in the tests.

#include "history_copy.h"

namespace brenik::monitor {

class IStateStore {
public:
    virtual ~IStateStore() = default;
    // Copies the working copy into the shared block, under its lock.
    virtual void Publish() = 0;
    // Writes the profiles to their files. Both threads save; the writes keep their order.
    virtual void SaveProfiles() = 0;
    // Keeps a dated copy of the profile files as they stand, before something overwrites them
    // (profile_history.h). True when the history holds them now (kept, or its newest copy
    // holds them already). A copy that cannot be kept is said and changes nothing else.
    virtual bool KeepHistory(history::HistoryReason reason) = 0;
};

}  // namespace brenik::monitor
