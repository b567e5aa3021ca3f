#pragma once
// Where the working copy goes: the shared block other programs read, and the profile files.
// StateStore (state_store_win32.h) on Windows, a recorder in the tests.

namespace brenik::monitor {

class IStateStore {
public:
    virtual ~IStateStore() = default;
    // Copies the working copy into the shared block, under its lock.
    virtual void Publish() = 0;
    // Writes the profiles to their files. Both threads save; the writes keep their order.
    virtual void SaveProfiles() = 0;
};

}  // namespace brenik::monitor
