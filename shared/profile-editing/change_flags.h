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
//   HDDKeyboard of p turned on       -> KeyChanged[p][0..41]: while it was off, job 1 sent
//                                       none of p's keys, so the keyboard gets them all now
// Every other field (names, game, sounds, repeat, media player, HDDKeyboard turned off,
// entries 42 and 43, which the keyboard does not have) raises nothing.
//
// When the settings program is open, flags in the block may be its own change waiting for
// its 1224; clearing them would lose that change, so then ours are added to them instead
// (FlagMode::kAdd), and the monitor sends both.

#include "state_record.h"

#include <string>
#include <vector>

namespace brenik::editing {

enum class FlagMode {
    kReplace,  // clear every flag, then set ours
    kAdd,      // keep the flags already raised, and set ours too
};

// Sets the flags the differences of `after` from `before` name, after clearing every flag
// of `after` first (kReplace) or keeping them (kAdd).
void SetFlagsOfDifferences(const StateRecord& before, StateRecord& after, FlagMode mode = FlagMode::kReplace);

// The flags set in a record, readable ("LightingChanged[0]", "KeyChanged[1][5]"), in the
// record's order: for messages and the JSON result.
std::vector<std::string> RaisedFlags(const StateRecord& state);

}  // namespace brenik::editing
