#include "profile_history.h"

#include "debug_capture.h"
#include "memory_history_folder.h"
#include "memory_ini_storage.h"

#include <gtest/gtest.h>

#include <string>

namespace brenik::history {
namespace {

constexpr const char* kFolder = "C:\\Brenik\\";
const std::string kHistory = std::string(kFolder) + kHistoryFolder;

class History : public ::testing::Test {
protected:
    void SetUp() override {
        brenik::test::ClearDebugLines();
        SetProfiles("first");
        storage.files[std::string(kFolder) + "config.ini"] = "[Setting]\r\nCurrentProfile=1\r\n";
    }

    void SetProfiles(const std::string& content) {
        for (int p = 0; p < 5; ++p) {
            storage.files[std::string(kFolder) + "config\\Default" + std::to_string(p) + ".cmp"] =
                "[Setting]\r\nProFileName=" + content + std::to_string(p) + "\r\n";
        }
    }

    static HistoryTime At(std::int64_t seconds) { return {seconds, "local " + std::to_string(seconds)}; }

    ini::test::MemoryIniStorage storage;
    test::MemoryHistoryFolder folder{storage};
    ProfileHistory history{kFolder, storage, folder};
};

TEST_F(History, KeepsTheFilesByteForByteOnlyWhenAProfileChanged) {
    const std::string before = storage.files[std::string(kFolder) + "config\\Default3.cmp"];
    ASSERT_EQ(history.Keep(HistoryReason::kReadBack, At(1000)), KeepOutcome::kKept);
    EXPECT_EQ(history.Keep(HistoryReason::kImport, At(1001)), KeepOutcome::kUnchanged);
    storage.files[std::string(kFolder) + "config.ini"] += "Device=1\r\n";
    EXPECT_EQ(history.Keep(HistoryReason::kImport, At(1002)), KeepOutcome::kUnchanged) << "config.ini alone makes none";
    SetProfiles("second");
    EXPECT_EQ(history.Keep(HistoryReason::kRestore, At(1002)), KeepOutcome::kKept);

    const std::vector<HistoryEntry> entries = history.List();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].number, 1);
    EXPECT_EQ(entries[0].copy.reason, HistoryReason::kRestore);
    EXPECT_EQ(entries[1].copy.reason, HistoryReason::kReadBack);
    EXPECT_EQ(entries[1].copy.when.local, "local 1000");
    ASSERT_EQ(entries[1].copy.files.size(), 6u);
    EXPECT_EQ(entries[1].copy.Find("config\\Default3.cmp")->bytes, before);
    EXPECT_EQ(entries[1].copy.Find("config.ini")->bytes, "[Setting]\r\nCurrentProfile=1\r\n");
    EXPECT_TRUE(folder.folders.count(kHistory));
}

// The bound in copies is ReadBackHistory's (thirty read-backs); here the bound in bytes.
TEST_F(History, HoldsItsByteBoundOldestFirst) {
    // Files that do not pack: the byte bound takes over, the newest copy always stays.
    std::string noise(900 * 1024, ' ');
    for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>('a' + (i * 7919 % 26));
    for (int i = 0; i < 6; ++i) {
        storage.files[std::string(kFolder) + "config\\Default0.cmp"] = std::to_string(i) + noise;
        ASSERT_EQ(history.Keep(HistoryReason::kDaily, At(2000 + i)), KeepOutcome::kKept);
    }
    const std::vector<HistoryEntry> entries = history.List();
    std::uint64_t total = 0;
    for (const HistoryEntry& entry : entries) total += entry.bytes;
    EXPECT_LE(total, kMaxBytes);
    EXPECT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries.front().copy.when.utcSeconds, 2005);
}

TEST_F(History, ADamagedCopyIsListedAndPassedOver) {
    ASSERT_EQ(history.Keep(HistoryReason::kDaily, At(1000)), KeepOutcome::kKept);
    SetProfiles("second");
    ASSERT_EQ(history.Keep(HistoryReason::kDaily, At(2000)), KeepOutcome::kKept);
    std::string& newest = storage.files[kHistory + history.List()[0].file];
    newest.resize(newest.size() / 2);  // as a disk failing might leave it

    const std::vector<HistoryEntry> entries = history.List();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_TRUE(entries[0].damaged);
    EXPECT_FALSE(entries[0].error.empty());
    EXPECT_FALSE(entries[1].damaged);
    // The profiles equal the damaged copy's, not the older one's: a new copy is kept.
    EXPECT_EQ(history.Keep(HistoryReason::kReadBack, At(3000)), KeepOutcome::kKept);
    EXPECT_TRUE(brenik::test::DebugLinesContain("ProfileHistory passed over"));
}

TEST_F(History, CopiesListInTheOrderTheyWereKept) {
    ASSERT_EQ(history.Keep(HistoryReason::kReadBack, At(1000)), KeepOutcome::kKept);
    SetProfiles("second");
    ASSERT_EQ(history.Keep(HistoryReason::kImport, At(1000)), KeepOutcome::kKept) << "the same second";
    SetProfiles("third");
    ASSERT_EQ(history.Keep(HistoryReason::kDaily, At(400)), KeepOutcome::kKept) << "the clock put back";
    const std::vector<HistoryEntry> entries = history.List();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].copy.reason, HistoryReason::kDaily);
    EXPECT_EQ(entries[1].copy.reason, HistoryReason::kImport);
    EXPECT_EQ(entries[2].copy.reason, HistoryReason::kReadBack);
    EXPECT_EQ(entries[0].file, "19700101-001640-02-daily.bkh");
    EXPECT_EQ(history.List(1).size(), 1u);
}

TEST_F(History, DailyAtMostOnceADay) {
    const auto files = storage.files;
    storage.files.clear();
    EXPECT_EQ(history.KeepDailyIfDue(At(999)), KeepOutcome::kNothingToKeep) << "a first start";
    storage.files = files;
    EXPECT_EQ(history.KeepDailyIfDue(At(1000)), KeepOutcome::kKept) << "the first save made the files";
    SetProfiles("second");
    EXPECT_EQ(history.KeepDailyIfDue(At(1000 + kDailySeconds - 1)), KeepOutcome::kNotDue);
    EXPECT_EQ(history.KeepDailyIfDue(At(500)), KeepOutcome::kNotDue) << "a clock put back";
    EXPECT_EQ(history.KeepDailyIfDue(At(1000 + kDailySeconds)), KeepOutcome::kKept);
    EXPECT_EQ(history.KeepDailyIfDue(At(1000 + 3 * kDailySeconds)), KeepOutcome::kUnchanged);
    const int reads = storage.reads;
    EXPECT_EQ(history.KeepDailyIfDue(At(1000 + 4 * kDailySeconds - 1)), KeepOutcome::kNotDue);
    EXPECT_EQ(storage.reads, reads) << "a save within the day reads no file";
    EXPECT_EQ(history.List().size(), 2u);
}

TEST_F(History, ACopyThatCannotBeKeptIsSaidAndChangesNothing) {
    const auto files = storage.files;
    storage.failWrites = true;
    EXPECT_EQ(history.Keep(HistoryReason::kReadBack, At(1000)), KeepOutcome::kFailed);
    EXPECT_TRUE(brenik::test::DebugLinesContain("ProfileHistory could not write"));
    EXPECT_EQ(storage.files, files);
    storage.failWrites = false;
    folder.failMake = true;
    EXPECT_EQ(history.Keep(HistoryReason::kReadBack, At(1000)), KeepOutcome::kFailed);
    EXPECT_TRUE(brenik::test::DebugLinesContain("ProfileHistory could not make"));

    storage.files.clear();
    folder.failMake = false;
    EXPECT_EQ(history.Keep(HistoryReason::kReadBack, At(1000)), KeepOutcome::kNothingToKeep);
    EXPECT_TRUE(storage.files.empty());
}

}  // namespace
}  // namespace brenik::history
