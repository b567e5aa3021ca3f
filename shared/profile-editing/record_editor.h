#pragma once
// Makes a ProfileEdit on the shared block's record, inside one hold of the block's lock: the
// record as it was is kept, the edit is made, and the change flags are set from what differs
// (change_flags.h). An edit that changes nothing writes nothing and tells no one, unless it
// must tell the keyboard of the current profile anyway (ProfileEdit::forceProfileFlag).
// The copies this takes are allocated with the editor, before the lock, since the monitor
// waits while the edit runs.

#include "change_flags.h"
#include "profile_edit.h"
#include "state_record.h"

#include <memory>
#include <string>
#include <vector>

namespace brenik::editing {

class RecordEditor {
public:
    RecordEditor();

    // Makes the edit on state and sets the flags (mode: replace the block's flags, or add to
    // those another program raised). False when state is to be left unwritten: then the
    // flags and the written record stay those of the last edit that wrote.
    bool Apply(const ProfileEdit& edit, StateRecord& state, FlagMode mode);

    // The flags the last written edit raised itself, not those it found in the block, as
    // RaisedFlags names them.
    const std::vector<std::string>& Flags() const { return flags_; }
    // The record as the last written edit left it.
    const StateRecord& Written() const { return *written_; }

    // Whether the block's record now still holds what was written: the current index for a
    // switch, every profile and the index for a restore, else the edited profile (the live
    // layer aside, which the keyboard changes at any time). The monitor may publish its own
    // copy over a change before it takes it.
    bool StillHolds(const ProfileEdit& edit, const StateRecord& now) const;

private:
    std::unique_ptr<StateRecord> before_;
    std::unique_ptr<StateRecord> ours_;
    std::unique_ptr<StateRecord> written_;
    std::vector<std::string> flags_;
};

}  // namespace brenik::editing
