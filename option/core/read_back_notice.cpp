#include "read_back_notice.h"

namespace brenik::option {
namespace {

bool IsReadBack(const history::HistoryEntry& entry) {
    return !entry.damaged && entry.copy.reason == history::HistoryReason::kReadBack;
}

}  // namespace

bool ReadBackNotice::Opened(const std::vector<history::HistoryEntry>& copies, std::int64_t nowUtcSeconds) {
    if (copies.empty()) return false;
    const history::HistoryEntry& newest = copies.front();
    newestAtOpening_ = newest.file;
    // A clock put back makes a copy "from the future": no older than a day either.
    const std::int64_t age = nowUtcSeconds - newest.copy.when.utcSeconds;
    return IsReadBack(newest) && age < history::kDailySeconds && Say(newest);
}

bool ReadBackNotice::SyncDone(const std::vector<history::HistoryEntry>& copies) {
    if (copies.empty()) return false;
    const history::HistoryEntry& newest = copies.front();
    return IsReadBack(newest) && newest.file != newestAtOpening_ && Say(newest);
}

bool ReadBackNotice::Say(const history::HistoryEntry& newest) {
    if (newest.file == said_) return false;
    said_ = newest.file;
    return true;
}

}  // namespace brenik::option
