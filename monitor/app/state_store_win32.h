#pragma once
// StateStore: the working copy's way in and out: the profile files (ProfileStore) and the
// shared block with its lock (SharedStateBlock). Owned by the main window; Publish and
// SaveProfiles are called from both threads.

#include "profile_history.h"
#include "profile_store.h"
#include "shared_state_block_win32.h"
#include "state_store.h"
#include "working_copy.h"

#include <mutex>
#include <string>

namespace brenik::monitor {

class StateStore final : public IStateStore {
public:
    StateStore(WorkingCopy& state, const std::string& programFolder);

    // Start-up: the working copy cleared, then the current profile and the five profiles read
    // from the files.
    void Load();
    // The shared block's lock; false when it exists already (another monitor owns it).
    bool CreateLock() { return block_.CreateLock(); }
    // The shared block itself; false when it could not be made.
    bool CreateBlock() { return block_.Create(); }
    // Shutdown: unmaps the block, closes it and its lock.
    void Close() { block_.Close(); }

    void Publish() override;
    // Copies the shared block into the working copy, under its lock (a sibling changed it).
    void Reread();
    // A save when the history's newest copy is a day old keeps a copy of the files it replaces.
    void SaveProfiles() override;
    bool KeepHistory(history::HistoryReason reason) override;

private:
    WorkingCopy& state_;
    ProfileStore profiles_;
    history::ProfileHistory history_;
    SharedStateBlock block_;
    std::mutex saveOrder_;
};

}  // namespace brenik::monitor
