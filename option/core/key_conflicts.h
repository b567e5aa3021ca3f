#pragma once
// What in a profile's keys works against itself, named before Apply so the user decides; never
// changed silently:
//   kLockedWindowsKey  a Windows key is locked in the profile, yet a macro, a single key or a
//                      standard key of the same profile sends it (the lock swallows it)
//   kSameCode          two standard keys on the keyboard send the same code
//   kTooManyActions    a key entry claims more than 400 macro actions
//   kMissingProgram    a program key names a file that does not exist
// Profiles and keys are counted from 1 in the texts, as the keyboard counts them.

#include "profile_record.h"
#include "state_record.h"

#include <functional>
#include <string>
#include <vector>

namespace brenik::option {

struct KeyConflict {
    enum class Kind { kLockedWindowsKey, kSameCode, kTooManyActions, kMissingProgram };
    Kind kind = Kind::kSameCode;
    int profile = 0;  // 0..4
    int key = -1;     // the key entry (0..43), or the first standard key (kSameCode), -1 for none
    std::string text; // "Profile 2: key 5's macro sends Left Windows, which this profile locks"
};

using FileExists = std::function<bool(const std::string& ansiPath)>;

std::vector<KeyConflict> FindKeyConflicts(const ProfileRecord& profile, int index, const FileExists& fileExists);

// The conflicts the user's edits bring: those of every edited profile as it would be applied
// that the profile as loaded did not have already (those the user has seen and kept).
std::vector<KeyConflict> NewKeyConflicts(const StateRecord& loaded, const StateRecord& applied,
                                         const std::vector<int>& editedProfiles, const FileExists& fileExists);

}  // namespace brenik::option
