#pragma once
// SharedStateReader: another program's read-only look into the monitor's shared block, for
// programs that only show what it holds (our on-screen display). Each read opens the mapping
// (FILE_MAP_READ) and the lock by name, holds the lock only while it copies the few bytes it
// needs, and closes both again.
//
// Nothing is kept open between reads, on purpose: the monitor refuses to start when the lock
// already exists (SharedStateBlock::CreateLock), so a display that kept its handle would stop
// a restarted monitor from ever starting.
//
// The wait for the lock is short (kLockWaitMs): a reader only shows what it reads, and a
// notice without the data beats a display that stalls behind a busy lock.

#include <cstddef>
#include <optional>
#include <string>

namespace brenik {

class SharedStateReader {
public:
    static constexpr unsigned long kLockWaitMs = 200;

    explicit SharedStateReader(unsigned long lockWaitMs = kLockWaitMs) : lockWaitMs_(lockWaitMs) {}

    // Copies `size` bytes from `offset` of the state record into dest. False, with dest
    // untouched, when the range lies outside the record, there is no block or no lock, the
    // block is smaller than the record, or the lock cannot be had in time.
    bool Copy(std::size_t offset, std::size_t size, void* dest) const;

    // The name of profile index 0..4, up to its terminator or the end of its field when it has
    // none; nullopt when the index is no profile's or the copy fails.
    std::optional<std::string> ProfileName(int index) const;

private:
    unsigned long lockWaitMs_;
};

}  // namespace brenik
