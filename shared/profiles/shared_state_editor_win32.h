#pragma once
// SharedStateEditor: another program's writing side of the monitor's shared block, for tools
// that change settings the way the settings program does. Each call opens the mapping
// (read/write) and the lock by name, checks that the block holds a whole record, holds the
// lock once for the whole read-modify-write, and closes everything again.
//
// Nothing is kept open between calls, for the reason SharedStateReader gives: the monitor
// refuses to start while the lock exists, so a tool holding its handle would keep a
// restarted monitor from starting.
//
// The wait for the lock is bounded: the monitor holds it only for one copy, so a lock busy
// for seconds means a program hangs holding it, and the caller must be told rather than
// hang with it. A lock abandoned by a program that died is taken over and used, as the
// monitor does: the block holds whole bytes of the dead program's last copy.

#include "state_record.h"

#include <functional>

namespace brenik {

class SharedStateEditor {
public:
    static constexpr unsigned long kLockWaitMs = 5000;

    enum class Outcome {
        kWritten,     // Edit: the changed record was copied into the block
        kRead,        // Read, or Edit that chose not to write: the block is unchanged
        kNoBlock,     // no mapping or lock of that name, or the mapping is smaller than a record
        kLockBusy,    // the lock was not had in time; nothing read or written
        kLockFailed,  // waiting for the lock failed
    };

    explicit SharedStateEditor(unsigned long lockWaitMs = kLockWaitMs) : lockWaitMs_(lockWaitMs) {}

    // The whole record, under the lock.
    Outcome Read(StateRecord& state) const;

    // Under one hold of the lock: the whole record is copied out, edit changes the copy and
    // returns whether to write it, and the whole copy is written back. edit runs with the
    // lock held, so it must be short and must not wait on other programs.
    Outcome Edit(const std::function<bool(StateRecord&)>& edit) const;

private:
    unsigned long lockWaitMs_;
};

}  // namespace brenik
