#include "shared_state_editor_win32.h"

#include "debug_output.h"
#include "mutex_hold.h"
#include "program_windows.h"
#include "scoped_handle.h"
#include "scoped_map_view.h"

#include <windows.h>

#include <cstring>
#include <memory>

namespace brenik {
namespace {

using Outcome = SharedStateEditor::Outcome;

Outcome WaitForLock(HANDLE lock, unsigned long waitMs) {
    switch (WaitForSingleObject(lock, waitMs)) {
        case WAIT_OBJECT_0:
            return Outcome::kRead;
        case WAIT_ABANDONED:
            DebugOutput("SharedStateEditor: the lock was abandoned by another program; taking it over\n");
            return Outcome::kRead;
        case WAIT_TIMEOUT:
            DebugPrintf("SharedStateEditor: the lock stayed busy for %lu ms; nothing read or written\n", waitMs);
            return Outcome::kLockBusy;
        default:
            DebugPrintf("SharedStateEditor: waiting for the lock failed (error %lu)\n",
                        static_cast<unsigned long>(GetLastError()));
            return Outcome::kLockFailed;
    }
}

// Opens the block and its lock, holds the lock and hands the view to `use`, which returns
// whether it wrote.
template <typename Use>
Outcome WithBlock(unsigned long waitMs, Use use) {
    const win32::ScopedHandle mapping(OpenFileMappingA(FILE_MAP_READ | FILE_MAP_WRITE, FALSE, kSharedBlockName));
    if (!mapping.Valid()) {
        DebugPrintf("SharedStateEditor: no %s (error %lu)\n", kSharedBlockName, static_cast<unsigned long>(GetLastError()));
        return Outcome::kNoBlock;
    }
    // Mapping the record's size fails on a mapping a page or more too small. One only a few
    // bytes short still maps, in whole pages, so every byte copied lies in pages the mapping
    // has (its last bytes are the page's zeros); the region query is a second guard, also in
    // whole pages, and cannot tell that case apart.
    const win32::ScopedMapView view(MapViewOfFile(mapping.Get(), FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, kStateRecordBytes));
    MEMORY_BASIC_INFORMATION region{};
    if (!view.Valid() || VirtualQuery(view.Get(), &region, sizeof region) == 0 || region.RegionSize < kStateRecordBytes) {
        DebugPrintf("SharedStateEditor refused %s: it cannot be mapped whole\n", kSharedBlockName);
        return Outcome::kNoBlock;
    }
    const win32::ScopedHandle lock(OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, kSharedBlockLockName));
    if (!lock.Valid()) {
        DebugPrintf("SharedStateEditor: no %s (error %lu)\n", kSharedBlockLockName, static_cast<unsigned long>(GetLastError()));
        return Outcome::kNoBlock;
    }
    const Outcome waited = WaitForLock(lock.Get(), waitMs);
    if (waited != Outcome::kRead) return waited;
    const win32::MutexHold hold(lock.Get());
    return use(view.Get()) ? Outcome::kWritten : Outcome::kRead;
}

}  // namespace

SharedStateEditor::Outcome SharedStateEditor::Read(StateRecord& state) const {
    return WithBlock(lockWaitMs_, [&](void* block) {
        std::memcpy(&state, block, kStateRecordBytes);
        return false;
    });
}

SharedStateEditor::Outcome SharedStateEditor::Edit(const std::function<bool(StateRecord&)>& edit) const {
    auto copy = std::make_unique<StateRecord>();  // allocated before the lock is taken
    return WithBlock(lockWaitMs_, [&](void* block) {
        std::memcpy(copy.get(), block, kStateRecordBytes);
        if (!edit(*copy)) return false;
        std::memcpy(block, copy.get(), kStateRecordBytes);
        return true;
    });
}

}  // namespace brenik
