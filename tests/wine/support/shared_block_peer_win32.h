#pragma once
// The settings program's side of the shared block in end-to-end tests: opens the mapping and
// its lock by name, and copies the whole record in or out under the lock.

#include "scoped_handle.h"
#include "scoped_map_view.h"
#include "shared_state_block_win32.h"
#include "state_record.h"

#include <windows.h>

#include <cstring>
#include <memory>

namespace brenik::test {

class SharedBlockPeer {
public:
    SharedBlockPeer() = default;
    SharedBlockPeer(const SharedBlockPeer&) = delete;
    SharedBlockPeer& operator=(const SharedBlockPeer&) = delete;

    bool Open() {
        mapping_.Reset(OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, kSharedBlockName));
        lock_.Reset(OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, kSharedBlockLockName));
        if (!mapping_.Valid() || !lock_.Valid()) return false;
        view_.Reset(MapViewOfFile(mapping_.Get(), FILE_MAP_ALL_ACCESS, 0, 0, kStateRecordBytes));
        return view_.Valid();
    }
    std::unique_ptr<StateRecord> Read() {
        auto copy = std::make_unique<StateRecord>();
        WaitForSingleObject(lock_.Get(), INFINITE);
        std::memcpy(copy.get(), view_.Get(), kStateRecordBytes);
        ReleaseMutex(lock_.Get());
        return copy;
    }
    void Write(const StateRecord& record) {
        WaitForSingleObject(lock_.Get(), INFINITE);
        std::memcpy(view_.Get(), &record, kStateRecordBytes);
        ReleaseMutex(lock_.Get());
    }

private:
    win32::ScopedHandle mapping_;
    win32::ScopedHandle lock_;
    win32::ScopedMapView view_;
};

}  // namespace brenik::test
