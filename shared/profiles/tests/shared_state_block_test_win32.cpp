// The shared state block under Wine, against a peer that opens the block and its lock by name
// the way the settings program does.

#include "owner_only_security_win32.h"
#include "scoped_handle.h"
#include "scoped_map_view.h"
#include "shared_block_lock_win32.h"
#include "shared_state_block_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

namespace brenik {
namespace {

using test::AnotherThreadGetsTheLock;
using test::LockHolder;

constexpr std::size_t kProfileNameOffset = 8 + 2 * sizeof(ProfileRecord);  // profile 2's name
constexpr std::size_t kKeyChangedOffset = 433408;
constexpr std::size_t kVolumeOffset = 434248;

std::unique_ptr<StateRecord> PatternState(unsigned char seed) {
    auto state = std::make_unique<StateRecord>();
    auto* bytes = reinterpret_cast<unsigned char*>(state.get());
    for (std::size_t i = 0; i < sizeof *state; ++i) bytes[i] = static_cast<unsigned char>(i * 7 + seed);
    state->CurrentProfile = 3;
    std::strcpy(state->Profiles[2].ProFileName, "Racing");
    state->VolumeLevel = 42;
    return state;
}

template <typename T>
T At(const void* base, std::size_t offset) {
    T value;
    std::memcpy(&value, static_cast<const char*>(base) + offset, sizeof value);
    return value;
}

// The settings program's side: the block and the lock opened by name.
struct Peer {
    Peer()
        : mapping(OpenFileMappingA(FILE_MAP_ALL_ACCESS | READ_CONTROL, FALSE, kSharedBlockName)),
          view(mapping.Valid() ? MapViewOfFile(mapping.Get(), FILE_MAP_ALL_ACCESS, 0, 0, kStateRecordBytes) : nullptr),
          lock(OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE | READ_CONTROL, FALSE, kSharedBlockLockName)) {}

    unsigned char* Bytes() const { return static_cast<unsigned char*>(view.Get()); }

    win32::ScopedHandle mapping;
    win32::ScopedMapView view;
    win32::ScopedHandle lock;
};

class SharedStateBlockTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(block.CreateLock());
    }
    SharedStateBlock block;
};

TEST_F(SharedStateBlockTest, PublishPutsTheWholeRecordWhereThePeerReadsIt) {
    ASSERT_TRUE(block.Create());
    auto state = PatternState(1);
    ASSERT_TRUE(block.Publish(*state));

    Peer peer;
    ASSERT_TRUE(peer.view.Valid()) << GetLastError();
    ASSERT_TRUE(peer.lock.Valid()) << GetLastError();
    EXPECT_EQ(At<std::int32_t>(peer.Bytes(), 0), 3);
    EXPECT_STREQ(reinterpret_cast<const char*>(peer.Bytes() + kProfileNameOffset), "Racing");
    EXPECT_EQ(At<std::int32_t>(peer.Bytes(), kVolumeOffset), 42);
    EXPECT_EQ(std::memcmp(peer.Bytes(), state.get(), kStateRecordBytes), 0);
}

TEST_F(SharedStateBlockTest, RereadTakesThePeersChangesAndPublishingThemBackChangesNothing) {
    ASSERT_TRUE(block.Create());
    auto state = PatternState(2);
    ASSERT_TRUE(block.Publish(*state));

    Peer peer;
    ASSERT_TRUE(peer.view.Valid());
    ASSERT_EQ(WaitForSingleObject(peer.lock.Get(), 5000), WAIT_OBJECT_0);
    const std::int32_t changed = 1;
    std::memcpy(peer.Bytes() + kKeyChangedOffset + (1 * kProgrammableKeys + 5) * 4, &changed, sizeof changed);
    std::strcpy(reinterpret_cast<char*>(peer.Bytes() + kProfileNameOffset), "Edited");
    ReleaseMutex(peer.lock.Get());

    ASSERT_TRUE(block.Reread(*state));
    EXPECT_EQ(state->KeyChanged[1][5], 1);
    EXPECT_STREQ(state->Profiles[2].ProFileName, "Edited");

    const std::vector<unsigned char> before(peer.Bytes(), peer.Bytes() + kStateRecordBytes);
    ASSERT_TRUE(block.Reread(*state));
    ASSERT_TRUE(block.Publish(*state));
    EXPECT_EQ(std::memcmp(before.data(), peer.Bytes(), kStateRecordBytes), 0);
}

TEST_F(SharedStateBlockTest, ALockAbandonedByADeadOwnerLocksNobodyOut) {
    ASSERT_TRUE(block.Create());
    LockHolder dead(LockHolder::End::kAbandonAtOnce);
    ASSERT_TRUE(dead.Start());
    ASSERT_EQ(dead.Finish(), 0u) << "the thread did not get the lock";

    auto state = PatternState(3);
    EXPECT_TRUE(block.Publish(*state)) << "the copy goes ahead after an abandoned wait";
    Peer peer;
    ASSERT_TRUE(peer.view.Valid());
    EXPECT_EQ(std::memcmp(peer.Bytes(), state.get(), kStateRecordBytes), 0);
    EXPECT_TRUE(AnotherThreadGetsTheLock()) << "the publish released the lock";
    EXPECT_TRUE(block.Reread(*state));
    EXPECT_TRUE(AnotherThreadGetsTheLock()) << "the re-read released the lock";
}

// A settings program that hangs holding the lock: the copy gives up after the bound, copies
// nothing, and the next copy after the lock is free again goes ahead.
TEST_F(SharedStateBlockTest, AProgramHangingWithTheLockCostsABoundedWaitAndNothingIsCopied) {
    ASSERT_TRUE(block.Create());
    auto first = PatternState(4);
    ASSERT_TRUE(block.Publish(*first));
    LockHolder holder(LockHolder::End::kOnRelease);
    ASSERT_TRUE(holder.Start());

    auto second = PatternState(5);
    const ULONGLONG start = GetTickCount64();
    EXPECT_FALSE(block.Publish(*second));
    const ULONGLONG waited = GetTickCount64() - start;
    EXPECT_GE(waited + 50, SharedStateBlock::kLockWaitMs);  // timer granularity
    EXPECT_LT(waited, SharedStateBlock::kLockWaitMs + 3000) << "the wait is bounded";
    Peer peer;
    ASSERT_TRUE(peer.view.Valid());
    EXPECT_EQ(std::memcmp(peer.Bytes(), first.get(), kStateRecordBytes), 0) << "nothing was copied";

    holder.Finish();
    EXPECT_TRUE(block.Publish(*second));
    EXPECT_EQ(std::memcmp(peer.Bytes(), second.get(), kStateRecordBytes), 0);
}

bool SameSid(const ACCESS_ALLOWED_ACE* ace, const std::vector<BYTE>& sid) {
    return EqualSid(const_cast<DWORD*>(&ace->SidStart), const_cast<BYTE*>(sid.data())) != 0;
}

// The access list of a kernel object: exactly the user, SYSTEM and Administrators, each with
// the full mask.
void ExpectOwnerOnly(HANDLE object, DWORD fullAccess, const char* what) {
    DWORD needed = 0;
    GetKernelObjectSecurity(object, DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
    ASSERT_GT(needed, 0u) << what << ": " << GetLastError();
    std::vector<BYTE> descriptor(needed);
    ASSERT_TRUE(GetKernelObjectSecurity(object, DACL_SECURITY_INFORMATION, descriptor.data(), needed, &needed)) << what;
    BOOL present = FALSE, defaulted = FALSE;
    ACL* acl = nullptr;
    ASSERT_TRUE(GetSecurityDescriptorDacl(descriptor.data(), &present, &acl, &defaulted));
    ASSERT_TRUE(present) << what;
    ASSERT_NE(acl, nullptr) << what << ": a null access list lets everyone in";
    ASSERT_EQ(acl->AceCount, 3) << what;

    std::vector<BYTE> user, system(SECURITY_MAX_SID_SIZE), administrators(SECURITY_MAX_SID_SIZE);
    ASSERT_TRUE(CurrentUserSid(user));
    DWORD size = SECURITY_MAX_SID_SIZE;
    ASSERT_TRUE(CreateWellKnownSid(WinLocalSystemSid, nullptr, system.data(), &size));
    size = SECURITY_MAX_SID_SIZE;
    ASSERT_TRUE(CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators.data(), &size));

    bool seenUser = false, seenSystem = false, seenAdministrators = false;
    for (DWORD i = 0; i < acl->AceCount; ++i) {
        void* raw = nullptr;
        ASSERT_TRUE(GetAce(acl, i, &raw));
        const auto* ace = static_cast<const ACCESS_ALLOWED_ACE*>(raw);
        EXPECT_EQ(ace->Header.AceType, ACCESS_ALLOWED_ACE_TYPE) << what << " entry " << i;
        EXPECT_EQ(ace->Mask, fullAccess) << what << " entry " << i;
        seenUser = seenUser || SameSid(ace, user);
        seenSystem = seenSystem || SameSid(ace, system);
        seenAdministrators = seenAdministrators || SameSid(ace, administrators);
    }
    EXPECT_TRUE(seenUser && seenSystem && seenAdministrators)
        << what << ": user " << seenUser << ", SYSTEM " << seenSystem << ", Administrators " << seenAdministrators;
}

TEST_F(SharedStateBlockTest, OnlyTheUserSystemAndAdministratorsMayOpenTheBlockAndItsLock) {
    ASSERT_TRUE(block.Create());
    Peer peer;
    ASSERT_TRUE(peer.mapping.Valid());
    ASSERT_TRUE(peer.lock.Valid());
    ExpectOwnerOnly(peer.mapping.Get(), FILE_MAP_ALL_ACCESS, "block");
    ExpectOwnerOnly(peer.lock.Get(), MUTEX_ALL_ACCESS, "lock");
}

TEST_F(SharedStateBlockTest, ABlockMadeEarlierByAnotherProgramIsOpenedAndOverwritten) {
    win32::ScopedHandle earlier(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                                   static_cast<DWORD>(kStateRecordBytes), kSharedBlockName));
    ASSERT_TRUE(earlier.Valid());
    win32::ScopedMapView earlierView(MapViewOfFile(earlier.Get(), FILE_MAP_ALL_ACCESS, 0, 0, kStateRecordBytes));
    ASSERT_TRUE(earlierView.Valid());
    std::memset(earlierView.Get(), 0xEE, kStateRecordBytes);

    ASSERT_TRUE(block.Create());
    auto state = PatternState(4);
    ASSERT_TRUE(block.Publish(*state));
    EXPECT_EQ(std::memcmp(earlierView.Get(), state.get(), kStateRecordBytes), 0);
}

TEST_F(SharedStateBlockTest, AnEarlierMappingTooSmallForTheRecordIsNotUsed) {
    win32::ScopedHandle earlier(
        CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096, kSharedBlockName));
    ASSERT_TRUE(earlier.Valid());
    EXPECT_FALSE(block.Create());
    EXPECT_FALSE(block.HasBlock());
    auto state = PatternState(5);
    const auto before = std::make_unique<StateRecord>(*state);
    EXPECT_FALSE(block.Publish(*state));
    EXPECT_FALSE(block.Reread(*state));
    EXPECT_EQ(std::memcmp(before.get(), state.get(), kStateRecordBytes), 0);
}

TEST_F(SharedStateBlockTest, WithoutTheBlockNothingIsCopiedAndCloseEndsIt) {
    auto state = PatternState(6);
    EXPECT_FALSE(block.Publish(*state)) << "not created yet";

    ASSERT_TRUE(block.Create());
    ASSERT_TRUE(block.Publish(*state));
    block.Close();
    EXPECT_FALSE(block.Publish(*state));
    EXPECT_FALSE(block.Reread(*state));
    win32::ScopedHandle gone(OpenFileMappingA(FILE_MAP_READ, FALSE, kSharedBlockName));
    EXPECT_FALSE(gone.Valid()) << "the last handle was ours";
}

TEST_F(SharedStateBlockTest, ALockThatAlreadyExistsIsReportedAndNotKept) {
    SharedStateBlock second;
    EXPECT_FALSE(second.CreateLock()) << "it already existed";
    block.Close();
    win32::ScopedHandle gone(OpenMutexA(SYNCHRONIZE, FALSE, kSharedBlockLockName));
    EXPECT_FALSE(gone.Valid()) << "the second object kept a handle";
    EXPECT_TRUE(second.CreateLock());
}

}  // namespace
}  // namespace brenik
