#pragma once
// The change flags of an edit, computed from what differs between the block's record before
// and after it.
//
// The block may still hold flags from earlier edits: the monitor publishes its own copy,
// flags included, and job 1 never clears them. If those stayed, the monitor would send
// their reports again with ours. So every flag is cleared first and then exactly the flags
// naming what this edit changed are set:
//   CurrentProfile                   -> ProfileChanged
//   standardkey of profile p         -> StandardKeyChanged[p]
//   a key-lock field of p            -> LockKeysChanged[p]
//   a lighting or logo field of p    -> LightingChanged[p]   (profile_fields.h, FlagGroup)
//   key entry k (0..41) of p         -> KeyChanged[p][k]
//   FnStatus of p                    -> FnStatusChanged[p]
// Every other field (names, game, sounds, repeat, media player, HDDKeyboard, entries 42 and
// 43, which the keyboard does not have) raises nothing.

#include "state_record.h"

#include <string>
#include <vector>

namespace brenik::settings {

// Clears every change flag of `after`, then sets the ones its differences from `before` name.
void SetFlagsOfDifferences(const StateRecord& before, StateRecord& after);

// The flags set in a record, readable ("LightingChanged[0]", "KeyChanged[1][5]"), in the
// record's order: for messages and the JSON result.
std::vector<std::string> RaisedFlags(const StateRecord& state);

}  // namespace brenik::settings
