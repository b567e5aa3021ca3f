// The read-only reader of the shared block under Wine, against a block the monitor's own
// SharedStateBlock makes: what it reads, how long it waits, and that it keeps nothing open.

#include "scoped_handle.h"
#include "shared_block_lock_win32.h"
#include "shared_state_block_win32.h"
#include "shared_state_reader_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <memory>

namespace brenik {
namespace {

using test::AnotherThreadGetsTheLock;
using test::LockHolder;

class SharedStateReaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(block.CreateLock());
        ASSERT_TRUE(block.Create());
        state = std::make_unique<StateRecord>();
        std::memset(state.get(), 0, sizeof *state);
        std::strcpy(state->Profiles[0].ProFileName, "Default1");
        std::strcpy(state->Profiles[2].ProFileName, "Strategy");
        std::memset(state->Profiles[4].ProFileName, 'Z', sizeof state->Profiles[4].ProFileName);  // no terminator
        state->Profiles[4].GameFile[0] = 'X';  // the next field must not leak into the name
        ASSERT_TRUE(block.Publish(*state));
    }
    void TearDown() override { block.Close(); }

    SharedStateBlock block;
    std::unique_ptr<StateRecord> state;
};

TEST_F(SharedStateReaderTest, ReadsProfileNamesUpToTheirEnd) {
    const SharedStateReader reader;
    EXPECT_EQ(reader.ProfileName(2), std::optional<std::string>("Strategy"));
    EXPECT_EQ(reader.ProfileName(0), std::optional<std::string>("Default1"));
    EXPECT_EQ(reader.ProfileName(1), std::optional<std::string>(""));
    EXPECT_EQ(reader.ProfileName(4), std::optional<std::string>(std::string(250, 'Z')));
    EXPECT_EQ(reader.ProfileName(5), std::nullopt);
    EXPECT_EQ(reader.ProfileName(-1), std::nullopt);
}

TEST_F(SharedStateReaderTest, CopiesOnlyRangesInsideTheRecord) {
    const SharedStateReader reader;
    std::int32_t value = 77;
    state->VolumeLevel = 42;
    ASSERT_TRUE(block.Publish(*state));
    EXPECT_TRUE(reader.Copy(offsetof(StateRecord, VolumeLevel), sizeof value, &value));
    EXPECT_EQ(value, 42);
    value = 77;
    EXPECT_FALSE(reader.Copy(kStateRecordBytes - 2, sizeof value, &value));
    EXPECT_FALSE(reader.Copy(static_cast<std::size_t>(-2), sizeof value, &value));
    EXPECT_EQ(value, 77);
}

TEST_F(SharedStateReaderTest, ABusyLockCostsTheShortWaitAndReadsNothing) {
    LockHolder holder(LockHolder::End::kOnRelease);
    ASSERT_TRUE(holder.Start());
    const SharedStateReader reader(150);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(reader.ProfileName(2), std::nullopt);
    const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    EXPECT_GE(waited.count(), 120);
    EXPECT_LT(waited.count(), 1500);
    holder.Finish();
    EXPECT_EQ(reader.ProfileName(2), std::optional<std::string>("Strategy")) << "free again, it reads";
}

TEST_F(SharedStateReaderTest, AnAbandonedLockIsTakenOverAndReleased) {
    LockHolder dead(LockHolder::End::kAbandonAtOnce);
    ASSERT_TRUE(dead.Start());
    dead.Finish();
    EXPECT_EQ(SharedStateReader().ProfileName(2), std::optional<std::string>("Strategy"));
    // Ownership is per thread, so only another thread can tell whether the lock was given back.
    EXPECT_TRUE(AnotherThreadGetsTheLock()) << "the reader gave the lock back";
}

TEST_F(SharedStateReaderTest, KeepsNothingOpenSoARestartedMonitorCanMakeTheLock) {
    const SharedStateReader reader;
    ASSERT_TRUE(reader.ProfileName(2).has_value());
    block.Close();
    // With the monitor's handles gone, the names vanish only if the reader kept none either.
    EXPECT_EQ(OpenMutexA(SYNCHRONIZE, FALSE, kSharedBlockLockName), nullptr);
    EXPECT_EQ(OpenFileMappingA(FILE_MAP_READ, FALSE, kSharedBlockName), nullptr);
    SharedStateBlock restarted;
    EXPECT_TRUE(restarted.CreateLock());
    restarted.Close();
    ASSERT_TRUE(block.CreateLock());  // for TearDown's Close
}

TEST(SharedStateReader, NoBlockOrNoLockReadsNothing) {
    const SharedStateReader reader;
    EXPECT_EQ(reader.ProfileName(0), std::nullopt);

    // A block without its lock: nothing may be read unguarded.
    SharedStateBlock blockOnly;
    ASSERT_TRUE(blockOnly.Create());
    EXPECT_EQ(reader.ProfileName(0), std::nullopt);
    blockOnly.Close();
}

TEST(SharedStateReader, RefusesAMappingSmallerThanTheRecord) {
    win32::ScopedHandle small(
        CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096, kSharedBlockName));
    ASSERT_TRUE(small.Valid());
    win32::ScopedHandle lock(CreateMutexA(nullptr, FALSE, kSharedBlockLockName));
    ASSERT_TRUE(lock.Valid());
    EXPECT_EQ(SharedStateReader().ProfileName(0), std::nullopt);
}

}  // namespace
}  // namespace brenik
