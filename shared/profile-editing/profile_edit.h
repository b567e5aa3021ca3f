#pragma once
// One change to the profiles, checked in full before anything is written and made later on
// the shared block's record, under its lock (record_editor.h). Every face of profile editing
// builds its changes here, so that what one refuses all refuse and a change makes the same
// record whichever face asked for it:
//   FieldEdit    one plain field of a profile, from its text (profile_fields.h)
//   KeyEdit      one key entry of a profile, from its words (key_assignment.h)
//   SwitchEdit   the current profile; the keyboard is told even when the index stands
//   ImportEdit   a whole profile from a profile file (profile_import.h); the profile keeps
//                its live layer, which is the keyboard's state, not a setting
// Profiles and key entries are counted from 0 here, as in the record; the messages and the
// description count them from 1, as the keyboard's keys do.

#include "ini_storage.h"
#include "profile_fields.h"
#include "state_record.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brenik::editing {

struct ProfileEdit {
    int profile = 0;  // the profile changed, or made current
    std::function<void(StateRecord&)> apply;
    std::string what;               // readable, for a result line: "key-green = 77"
    bool forceProfileFlag = false;  // the keyboard is told of the current profile even when it stands
    bool setsCurrent = false;       // what to read back: the current index, or the profile
    bool wholeRecord = false;       // ... or every profile and the current index (a restore)
};

// field: an editable row of ProfileFields() (the edit keeps a pointer to it); which names
// are offered, and what is said of the others, is the caller's.
std::optional<ProfileEdit> FieldEdit(int profile, const ProfileField& field, std::string_view text, std::string& error);
// words: the assignment, as key_assignment.h reads it.
std::optional<ProfileEdit> KeyEdit(int profile, int key, const std::vector<std::string>& words, std::string& error);
ProfileEdit SwitchEdit(int profile);
// The file is read and checked now, in full; the edit carries what it holds.
std::optional<ProfileEdit> ImportEdit(int profile, const std::string& path, ini::IIniStorage& storage,
                                      std::string& error);

}  // namespace brenik::editing
