#pragma once
// The shared state block: the named paging-file mapping through which the settings program
// sees and edits the monitor's state record, and the named mutex that every program holds
// for the length of one whole-record copy into or out of it.
//
// Start-up: CreateLock (a lock that already exists ends start-up), ClearChangeFlags on the
// working copy, Create, Publish. Then Publish and Reread as the handlers need them, from the
// window thread and the job thread alike; Close at shutdown. The mapping and the lock are
// made with an access list for this user, SYSTEM and the Administrators group only.

#include "program_windows.h"
#include "scoped_handle.h"
#include "scoped_map_view.h"
#include "state_record.h"

namespace brenik {

class SharedStateBlock {
public:
    SharedStateBlock() = default;
    SharedStateBlock(const SharedStateBlock&) = delete;
    SharedStateBlock& operator=(const SharedStateBlock&) = delete;

    // Creates the lock, not owned, and keeps it until Close. False when it already existed
    // (another program made it first; its handle is not kept) or could not be created: the
    // monitor must not start then.
    bool CreateLock();

    // Creates the mapping of kStateRecordBytes, or opens it if another program made it, and
    // maps a view of the whole record. False (and no block) when the mapping or the view
    // cannot be made, or an existing mapping of that name is too small for the record.
    bool Create();

    bool HasBlock() const { return view_.Valid(); }

    // Whole-record copies under the lock. Another program holds it only for one copy, so the
    // wait is bounded by kLockWaitMs: a program that hangs holding it must not freeze the
    // monitor's window thread for good. False, with nothing copied, when there is no block or
    // no lock, or the wait fails or runs out (the next copy tries again).
    static constexpr unsigned long kLockWaitMs = 2000;
    bool Publish(const StateRecord& workingCopy);
    bool Reread(StateRecord& workingCopy);

    // Unmaps the view, closes the mapping and the lock.
    void Close();

private:
    template <typename Copy>
    bool CopyUnderLock(const char* what, Copy copy);

    win32::ScopedHandle lock_;
    win32::ScopedHandle mapping_;
    win32::ScopedMapView view_;
};

}  // namespace brenik
