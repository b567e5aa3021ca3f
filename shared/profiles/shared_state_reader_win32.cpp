#include "shared_state_reader_win32.h"

#include "debug_output.h"
#include "mutex_hold.h"
#include "program_windows.h"
#include "scoped_handle.h"
#include "scoped_map_view.h"
#include "state_record.h"

#include <windows.h>

#include <cstddef>
#include <cstring>

namespace brenik {
namespace {

bool WaitForLock(HANDLE lock, unsigned long waitMs) {
    switch (WaitForSingleObject(lock, waitMs)) {
        case WAIT_OBJECT_0:
            return true;
        case WAIT_ABANDONED:
            // The program that held it died; the lock is ours now and the block holds whole
            // bytes of its last copy, as good as any later read would get.
            DebugOutput("SharedStateReader: the lock was abandoned by another program; taking it over\n");
            return true;
        case WAIT_TIMEOUT:
            DebugPrintf("SharedStateReader: the lock stayed busy for %lu ms; nothing read\n", waitMs);
            return false;
        default:
            DebugPrintf("SharedStateReader: waiting for the lock failed (error %lu); nothing read\n",
                        static_cast<unsigned long>(GetLastError()));
            return false;
    }
}

}  // namespace

bool SharedStateReader::Copy(std::size_t offset, std::size_t size, void* dest) const {
    if (offset > kStateRecordBytes || size > kStateRecordBytes - offset) {
        DebugPrintf("SharedStateReader refused to read %zu bytes at %zu: outside the record\n", size, offset);
        return false;
    }
    const win32::ScopedHandle mapping(OpenFileMappingA(FILE_MAP_READ, FALSE, kSharedBlockName));
    if (!mapping.Valid()) {
        DebugPrintf("SharedStateReader: no %s (error %lu)\n", kSharedBlockName,
                    static_cast<unsigned long>(GetLastError()));
        return false;
    }
    // Mapping the record's size fails on a mapping a page or more too small. One only a few
    // bytes short still maps, in whole pages, so every byte copied lies in pages the mapping
    // has (its last bytes are the page's zeros); the region query is a second guard, also in
    // whole pages, and cannot tell that case apart.
    const win32::ScopedMapView view(MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, kStateRecordBytes));
    MEMORY_BASIC_INFORMATION region{};
    if (!view.Valid() || VirtualQuery(view.Get(), &region, sizeof region) == 0 ||
        region.RegionSize < kStateRecordBytes) {
        DebugPrintf("SharedStateReader refused %s: it cannot be mapped whole\n", kSharedBlockName);
        return false;
    }
    const win32::ScopedHandle lock(OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, kSharedBlockLockName));
    if (!lock.Valid()) {
        DebugPrintf("SharedStateReader: no %s (error %lu)\n", kSharedBlockLockName,
                    static_cast<unsigned long>(GetLastError()));
        return false;
    }
    if (!WaitForLock(lock.Get(), lockWaitMs_)) return false;
    const win32::MutexHold hold(lock.Get());
    std::memcpy(dest, static_cast<const std::uint8_t*>(view.Get()) + offset, size);
    return true;
}

std::optional<std::string> SharedStateReader::ProfileName(int index) const {
    if (!IsProfileIndex(index)) return std::nullopt;
    char name[sizeof(ProfileRecord::ProFileName)];
    const std::size_t offset = offsetof(StateRecord, Profiles) +
                               static_cast<std::size_t>(index) * sizeof(ProfileRecord) +
                               offsetof(ProfileRecord, ProFileName);
    if (!Copy(offset, sizeof name, name)) return std::nullopt;
    return std::string(name, strnlen(name, sizeof name));
}

}  // namespace brenik
