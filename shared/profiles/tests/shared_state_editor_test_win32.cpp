// The settings tools' writing side of the shared block under Wine, against a block the
// monitor's own SharedStateBlock makes: what it reads and writes, that it writes the whole
// record under the lock and only when the edit asks, how it meets a busy or abandoned lock,
// and that it never makes the block or the lock nor keeps a handle of either open.

#include "scoped_handle.h"
#include "scoped_map_view.h"
#include "shared_state_block_win32.h"
#include "shared_block_lock_win32.h"
#include "shared_state_editor_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <vector>

namespace brenik {
namespace {

using Outcome = SharedStateEditor::Outcome;
using test::AnotherThreadGetsTheLock;
using test::LockHolder;

// A record whose every byte depends on the seed, so a copy that misses any part shows.
std::unique_ptr<StateRecord> PatternState(unsigned char seed) {
    auto state = std::make_unique<StateRecord>();
    auto* bytes = reinterpret_cast<unsigned char*>(state.get());
    for (std::size_t i = 0; i < kStateRecordBytes; ++i) bytes[i] = static_cast<unsigned char>(i * 13 + seed);
    return state;
}

bool SameBytes(const StateRecord& a, const StateRecord& b) { return std::memcmp(&a, &b, kStateRecordBytes) == 0; }

bool LockExists() { return win32::ScopedHandle(OpenMutexA(SYNCHRONIZE, FALSE, kSharedBlockLockName)).Valid(); }
bool MappingExists() { return win32::ScopedHandle(OpenFileMappingA(FILE_MAP_READ, FALSE, kSharedBlockName)).Valid(); }

class SharedStateEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(block.CreateLock());
        ASSERT_TRUE(block.Create());
        published = PatternState(1);
        ASSERT_TRUE(block.Publish(*published));
    }

    // Every test ends with the monitor closing its side: if the editor kept no handle, both
    // names are gone and a restarted monitor can make its lock again.
    void TearDown() override {
        block.Close();
        EXPECT_FALSE(LockExists()) << "a handle of the lock stayed open";
        EXPECT_FALSE(MappingExists()) << "a handle of the block stayed open";
        SharedStateBlock restarted;
        EXPECT_TRUE(restarted.CreateLock()) << "a restarted monitor could not make its lock";
        restarted.Close();
    }

    // The block as the monitor re-reads it.
    std::unique_ptr<StateRecord> Block() {
        auto state = PatternState(0xEE);
        EXPECT_TRUE(block.Reread(*state));
        return state;
    }

    SharedStateBlock block;
    std::unique_ptr<StateRecord> published;
};

TEST_F(SharedStateEditorTest, ReadsTheWholeRecordAndEditsItUnderOneHold) {
    const SharedStateEditor editor;
    auto read = PatternState(0xEE);
    EXPECT_EQ(editor.Read(*read), Outcome::kRead);
    EXPECT_TRUE(SameBytes(*read, *published));
    EXPECT_TRUE(AnotherThreadGetsTheLock()) << "the read gave the lock back";

    const auto edited = PatternState(2);
    int calls = 0;
    EXPECT_EQ(editor.Edit([&](StateRecord& copy) {
        ++calls;
        EXPECT_TRUE(SameBytes(copy, *published)) << "the edit starts from the whole block";
        EXPECT_FALSE(AnotherThreadGetsTheLock()) << "the lock is held while the edit runs";
        std::memcpy(&copy, edited.get(), kStateRecordBytes);
        return true;
    }),
              Outcome::kWritten);
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(SameBytes(*Block(), *edited)) << "every byte of the edit reached the block";
    EXPECT_TRUE(AnotherThreadGetsTheLock()) << "the edit gave the lock back";

    EXPECT_EQ(editor.Read(*read), Outcome::kRead);
    EXPECT_TRUE(SameBytes(*read, *edited));
}

TEST_F(SharedStateEditorTest, AnEditThatDeclinesLeavesTheBlockByteIdentical) {
    const SharedStateEditor editor;
    bool called = false;
    EXPECT_EQ(editor.Edit([&](StateRecord& copy) {
        called = true;
        std::memset(&copy, 0xAB, kStateRecordBytes);  // changed, then thrown away
        return false;
    }),
              Outcome::kRead);
    EXPECT_TRUE(called);
    EXPECT_TRUE(SameBytes(*Block(), *published));
    EXPECT_TRUE(AnotherThreadGetsTheLock()) << "the declined edit gave the lock back";
}

TEST_F(SharedStateEditorTest, ALockBusyPastTheBoundCostsAboutTheBoundAndTouchesNothing) {
    LockHolder holder(LockHolder::End::kOnRelease);
    ASSERT_TRUE(holder.Start());
    const SharedStateEditor editor(150);

    bool called = false;
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(editor.Edit([&](StateRecord& copy) {
        called = true;
        copy.VolumeLevel = 1;
        return true;
    }),
              Outcome::kLockBusy);
    auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    EXPECT_FALSE(called) << "the edit ran without the lock";
    EXPECT_GE(waited.count(), 120);
    EXPECT_LT(waited.count(), 1500) << "the wait is bounded";

    auto read = PatternState(0xEE);
    const auto untouched = PatternState(0xEE);
    start = std::chrono::steady_clock::now();
    EXPECT_EQ(editor.Read(*read), Outcome::kLockBusy);
    waited = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    EXPECT_LT(waited.count(), 1500);
    EXPECT_TRUE(SameBytes(*read, *untouched)) << "nothing read";

    ASSERT_EQ(holder.Finish(), 0u);
    EXPECT_TRUE(SameBytes(*Block(), *published)) << "nothing written";
    EXPECT_EQ(editor.Edit([](StateRecord& copy) {
        copy.VolumeLevel = 1;
        return true;
    }),
              Outcome::kWritten)
        << "free again, the edit goes ahead";
    EXPECT_EQ(Block()->VolumeLevel, 1);
}

TEST_F(SharedStateEditorTest, ALockAbandonedByADeadOwnerIsTakenOverAndTheEditGoesAhead) {
    LockHolder holder(LockHolder::End::kAbandonAtOnce);
    ASSERT_TRUE(holder.Start());
    ASSERT_EQ(holder.Finish(), 0u) << "the thread did not get the lock";

    EXPECT_EQ(SharedStateEditor(150).Edit([](StateRecord& copy) {
        copy.CurrentProfile = 4;
        std::strcpy(copy.Profiles[4].ProFileName, "Taken over");
        return true;
    }),
              Outcome::kWritten);
    const auto after = Block();
    EXPECT_EQ(after->CurrentProfile, 4);
    EXPECT_STREQ(after->Profiles[4].ProFileName, "Taken over");
    EXPECT_TRUE(AnotherThreadGetsTheLock()) << "the taken-over lock was given back";
}

TEST(SharedStateEditor, WithoutTheBlockOrItsLockDoesNothingAndMakesNeither) {
    const SharedStateEditor editor(150);
    bool called = false;
    const auto edit = [&](StateRecord&) {
        called = true;
        return true;
    };
    auto read = PatternState(0xEE);
    const auto untouched = PatternState(0xEE);

    EXPECT_EQ(editor.Read(*read), Outcome::kNoBlock);
    EXPECT_EQ(editor.Edit(edit), Outcome::kNoBlock);
    EXPECT_FALSE(LockExists()) << "the editor made the lock";
    EXPECT_FALSE(MappingExists()) << "the editor made the block";

    // The block without its lock: nothing may be read or written unguarded.
    SharedStateBlock blockOnly;
    ASSERT_TRUE(blockOnly.Create());
    EXPECT_EQ(editor.Read(*read), Outcome::kNoBlock);
    EXPECT_EQ(editor.Edit(edit), Outcome::kNoBlock);
    EXPECT_FALSE(LockExists()) << "the editor made the lock";
    blockOnly.Close();

    // The lock without its block.
    SharedStateBlock lockOnly;
    ASSERT_TRUE(lockOnly.CreateLock());
    EXPECT_EQ(editor.Read(*read), Outcome::kNoBlock);
    EXPECT_EQ(editor.Edit(edit), Outcome::kNoBlock);
    EXPECT_FALSE(MappingExists()) << "the editor made the block";
    lockOnly.Close();

    EXPECT_FALSE(called);
    EXPECT_TRUE(SameBytes(*read, *untouched));
    EXPECT_FALSE(LockExists());
    EXPECT_FALSE(MappingExists());
}

TEST(SharedStateEditor, RefusesAMappingSmallerThanTheRecord) {
    // A page, and a whole page short of the record.
    for (const DWORD size : {DWORD{4096}, static_cast<DWORD>(kStateRecordBytes - 4096)}) {
        SCOPED_TRACE(size);
        win32::ScopedHandle small(
            CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, size, kSharedBlockName));
        ASSERT_TRUE(small.Valid());
        win32::ScopedMapView view(MapViewOfFile(small.Get(), FILE_MAP_ALL_ACCESS, 0, 0, size));
        ASSERT_TRUE(view.Valid());
        std::memset(view.Get(), 0x5A, size);
        win32::ScopedHandle lock(CreateMutexA(nullptr, FALSE, kSharedBlockLockName));
        ASSERT_TRUE(lock.Valid());

        const SharedStateEditor editor(150);
        bool called = false;
        EXPECT_EQ(editor.Edit([&](StateRecord&) {
            called = true;
            return true;
        }),
                  Outcome::kNoBlock);
        EXPECT_FALSE(called);
        auto read = PatternState(0xEE);
        const auto untouched = PatternState(0xEE);
        EXPECT_EQ(editor.Read(*read), Outcome::kNoBlock);
        EXPECT_TRUE(SameBytes(*read, *untouched));
        const std::vector<unsigned char> expected(size, 0x5A);
        EXPECT_EQ(std::memcmp(view.Get(), expected.data(), size), 0);
    }
    EXPECT_FALSE(LockExists());
    EXPECT_FALSE(MappingExists());
}

}  // namespace
}  // namespace brenik
