#pragma once
// What differs between a history copy and the profiles now, by profile and by section, so the
// user can tell the copies apart: "Profile 2: name, lighting, keys 3, 5".
//
// Sections: a plain field by its part of the profile (the lighting, the locked keys, the
// sounds, the key repeat, or its own name: name, game, picture, media player, key
// assignments); the standard keys; the numbered keys whose entries differ. The live layer is
// no setting and never differs.

#include "history_copy.h"
#include "state_record.h"

#include <string>
#include <vector>

namespace brenik::history {

struct ProfileDifference {
    int profile = 0;  // 0..4
    std::vector<std::string> sections;
};

struct CopyDifferences {
    std::vector<ProfileDifference> profiles;  // only profiles that differ, in order
    bool currentProfile = false;              // the copy makes another profile current
    std::string error;                        // the copy could not be read: nothing compared

    bool None() const { return profiles.empty() && !currentProfile && error.empty(); }
    // "Profile 2: name, lighting; the current profile", or "the same as now".
    std::string Text() const;
};

CopyDifferences DifferencesFromNow(const HistoryCopy& copy, const StateRecord& now);

// The sections in which two profiles differ, in the record's order.
std::vector<std::string> DifferingSections(const ProfileRecord& then, const ProfileRecord& now);

}  // namespace brenik::history
