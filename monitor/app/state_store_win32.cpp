#include "state_store_win32.h"

#include "debug_output.h"
#include "history_folder.h"
#include "ini_storage.h"
#include "keyboard_repeat.h"

#include <memory>

namespace brenik::monitor {

StateStore::StateStore(WorkingCopy& state, const std::string& programFolder)
    : state_(state),
      profiles_(programFolder, ini::SystemIniStorage(), SystemKeyboardRepeat()),
      history_(programFolder, ini::SystemIniStorage(), history::SystemHistoryFolder()) {}

void StateStore::Load() {
    state_.Use([&](StateRecord& state) {
        ClearState(state);
        profiles_.LoadProfiles(state);
    });
}

void StateStore::Publish() {
    state_.Use([&](StateRecord& state) { block_.Publish(state); });
}

void StateStore::Reread() {
    state_.Use([&](StateRecord& state) { block_.Reread(state); });
}

void StateStore::SaveProfiles() {
    // The copy is taken inside the same lock that orders the writes, so an older copy can
    // never be written after a newer one. Files are written from the copy, so the working
    // copy's lock is not held while the disk works.
    std::lock_guard<std::mutex> inOrder(saveOrder_);
    const std::unique_ptr<StateRecord> snapshot = state_.Snapshot();
    history_.KeepDailyIfDue(history::HistoryTimeNow());
    profiles_.SaveProfiles(*snapshot);
}

bool StateStore::KeepHistory(history::HistoryReason reason) {
    // In the save order, so a copy never falls between the two halves of a save.
    std::lock_guard<std::mutex> inOrder(saveOrder_);
    const history::KeepOutcome outcome = history_.Keep(reason, history::HistoryTimeNow());
    if (outcome == history::KeepOutcome::kKept) {
        DebugPrintf("StateStore kept the profiles in %s (%s)\n", history_.Folder().c_str(), history::ReasonWord(reason));
    }
    return outcome == history::KeepOutcome::kKept || outcome == history::KeepOutcome::kUnchanged;
}

}  // namespace brenik::monitor
