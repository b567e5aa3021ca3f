#include "shared_state_block_win32.h"

#include "debug_output.h"
#include "mutex_hold.h"
#include "owner_only_security_win32.h"

#include <cstring>
#include <utility>

namespace brenik {

bool SharedStateBlock::CreateLock() {
    OwnerOnlySecurity security(MUTEX_ALL_ACCESS);
    win32::ScopedHandle lock(CreateMutexA(security.Attributes(false), FALSE, kSharedBlockLockName));
    if (!lock.Valid()) {
        DebugPrintf("SharedStateBlock could not create %s (error %lu)\n", kSharedBlockLockName,
                    static_cast<unsigned long>(GetLastError()));
        return false;
    }
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        DebugPrintf("SharedStateBlock: %s already exists\n", kSharedBlockLockName);
        return false;
    }
    lock_ = std::move(lock);
    return true;
}

bool SharedStateBlock::Create() {
    view_.Reset();
    mapping_.Reset();
    OwnerOnlySecurity security(FILE_MAP_ALL_ACCESS);
    win32::ScopedHandle mapping(CreateFileMappingA(INVALID_HANDLE_VALUE, security.Attributes(true), PAGE_READWRITE, 0,
                                                   static_cast<DWORD>(kStateRecordBytes), kSharedBlockName));
    if (!mapping.Valid()) {
        DebugPrintf("SharedStateBlock could not create %s (error %lu)\n", kSharedBlockName,
                    static_cast<unsigned long>(GetLastError()));
        return false;
    }
    // An existing mapping keeps its own size; one too small for the record fails to map here
    // rather than letting a copy run past its end.
    win32::ScopedMapView view(MapViewOfFile(mapping.Get(), FILE_MAP_ALL_ACCESS, 0, 0, kStateRecordBytes));
    if (!view.Valid()) {
        DebugPrintf("SharedStateBlock could not map %s (error %lu)\n", kSharedBlockName,
                    static_cast<unsigned long>(GetLastError()));
        return false;
    }
    MEMORY_BASIC_INFORMATION region{};
    if (VirtualQuery(view.Get(), &region, sizeof region) == 0 || region.RegionSize < kStateRecordBytes) {
        DebugPrintf("SharedStateBlock refused %s: the existing mapping is smaller than %zu bytes\n", kSharedBlockName,
                    kStateRecordBytes);
        return false;
    }
    mapping_ = std::move(mapping);
    view_ = std::move(view);
    return true;
}

template <typename Copy>
bool SharedStateBlock::CopyUnderLock(const char* what, Copy copy) {
    if (!view_.Valid() || !lock_.Valid()) return false;
    switch (WaitForSingleObject(lock_.Get(), kLockWaitMs)) {
        case WAIT_OBJECT_0:
            break;
        case WAIT_ABANDONED:
            // A program died holding the lock, and the lock is now ours. The copy goes ahead:
            // the block holds the whole bytes of the dead program's last write, no worse than
            // what any later copy would see, and refusing would lock every program out of the
            // data for good. The hold below releases it like any other.
            DebugPrintf("SharedStateBlock %s: the lock was abandoned by another program; taking it over\n", what);
            break;
        case WAIT_TIMEOUT:
            DebugPrintf("SharedStateBlock %s: another program has held the lock for %lu ms; nothing copied\n", what,
                        kLockWaitMs);
            return false;
        default:
            DebugPrintf("SharedStateBlock %s: waiting for the lock failed (error %lu); nothing copied\n", what,
                        static_cast<unsigned long>(GetLastError()));
            return false;
    }
    const win32::MutexHold hold(lock_.Get());
    copy(view_.Get());
    return true;
}

bool SharedStateBlock::Publish(const StateRecord& workingCopy) {
    return CopyUnderLock("publish", [&](void* block) { std::memcpy(block, &workingCopy, kStateRecordBytes); });
}

bool SharedStateBlock::Reread(StateRecord& workingCopy) {
    return CopyUnderLock("re-read", [&](const void* block) { std::memcpy(&workingCopy, block, kStateRecordBytes); });
}

void SharedStateBlock::Close() {
    view_.Reset();
    mapping_.Reset();
    lock_.Reset();
}

}  // namespace brenik
