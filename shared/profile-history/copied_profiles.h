#pragma once
// The profiles a history copy holds, and the change that restores them.
//
// Each profile file of the copy is read as an import reads a profile file (profile_import.h):
// a damaged value refuses the whole copy, naming the file and the key. The current profile is
// config.ini's "CurrentProfile" of the copy. A restore takes every profile the copy has a file
// for and that current profile; each profile keeps its live layer (ExtendedMode), which is the
// keyboard's state and no setting.

#include "history_copy.h"
#include "profile_edit.h"
#include "state_record.h"

#include <optional>
#include <string>

namespace brenik::history {

// Fills the profiles the copy has files for, and CurrentProfile when the copy's config.ini
// holds one in 0..4; everything else of `state` stays. False, with error, when a file is
// damaged: then `state` is untouched.
bool ReadCopiedProfiles(const HistoryCopy& copy, StateRecord& state, std::string& error);

// The restore of a copy as one change of the editing core: the block gets exactly the change
// flags of what differs, like any other change.
std::optional<editing::ProfileEdit> RestoreEdit(const HistoryCopy& copy, int number, std::string& error);

}  // namespace brenik::history
