#include "read_back_notice.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brenik::option {
namespace {

using history::HistoryEntry;
using history::HistoryReason;
using Copies = std::vector<HistoryEntry>;

constexpr std::int64_t kNow = 2000000000;
constexpr std::int64_t kHour = 60 * 60;

HistoryEntry Copy(const char* file, HistoryReason reason, std::int64_t made, bool damaged = false) {
    HistoryEntry entry;
    entry.file = file;
    entry.damaged = damaged;
    if (!damaged) {
        entry.copy.reason = reason;
        entry.copy.when.utcSeconds = made;
    }
    return entry;
}

const HistoryEntry kOldDaily = Copy("a-daily.bkh", HistoryReason::kDaily, kNow - 50 * kHour);
const HistoryEntry kOldReadBack = Copy("b-read-back.bkh", HistoryReason::kReadBack, kNow - 25 * kHour);
const HistoryEntry kRecentReadBack = Copy("c-read-back.bkh", HistoryReason::kReadBack, kNow - kHour);
const HistoryEntry kNewReadBack = Copy("d-read-back.bkh", HistoryReason::kReadBack, kNow + kHour);
const HistoryEntry kNewImport = Copy("d-import.bkh", HistoryReason::kImport, kNow + kHour);
const HistoryEntry kNewDamaged = Copy("d-read-back.bkh", HistoryReason::kReadBack, 0, true);

// The history as the window opens and after two of the monitor's 1254, newest first; whether the
// notice is said at each.
TEST(ReadBackNotice, SaysAReadBackCopyOnceWhenItIsNewOrTheWindowOpensWithinADayOfIt) {
    struct Row {
        const char* what;
        Copies opening;
        bool saidOpening;
        Copies afterSync;
        bool saidFirstSync;  // the same history at the second 1254 is never said again
    };
    const Row rows[] = {
        {"no history at all", {}, false, {}, false},
        {"a read-back after opening", {kOldDaily}, false, {kNewReadBack, kOldDaily}, true},
        {"the first copy ever, a read-back", {}, false, {kNewReadBack}, true},
        {"opened an hour after a read-back", {kRecentReadBack, kOldDaily}, true, {kRecentReadBack, kOldDaily}, false},
        {"opened 25 hours after a read-back", {kOldReadBack}, false, {kOldReadBack}, false},
        {"an import after opening", {kOldReadBack}, false, {kNewImport, kOldReadBack}, false},
        {"a damaged copy after opening", {kOldDaily}, false, {kNewDamaged, kOldDaily}, false},
        {"a damaged newest copy at opening", {kNewDamaged}, false, {kNewDamaged}, false},
        {"a new read-back after one said at opening", {kRecentReadBack}, true, {kNewReadBack, kRecentReadBack}, true},
    };
    for (const Row& row : rows) {
        ReadBackNotice notice;
        EXPECT_EQ(notice.Opened(row.opening, kNow), row.saidOpening) << row.what;
        EXPECT_EQ(notice.SyncDone(row.afterSync), row.saidFirstSync) << row.what;
        EXPECT_FALSE(notice.SyncDone(row.afterSync)) << row.what << ": said once";
    }
}

}  // namespace
}  // namespace brenik::option
