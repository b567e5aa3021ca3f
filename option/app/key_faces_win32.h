#pragma once
// What each key of the key page shows and is called: the face drawn (keyboard_picture_win32.h)
// and its window text, which is also its accessible name ("Caps Lock, sends Left Ctrl",
// "Key 5: macro Fire"), from the profile as the window shows it.

#include "keyboard_picture_win32.h"
#include "profile_record.h"

#include <cstdint>
#include <string>

namespace brenik::option {

struct ShownKey {
    KeyFace face;
    std::wstring name;
};

// Standard key `index` of the key map; `loaded` is the profile as the keyboard holds it, for the
// mark of an edit not yet applied.
ShownKey StandardKeyShown(int index, const ProfileRecord& shown, const ProfileRecord& loaded);
// Assignable key entry `entry`; `edited` marks an edit not yet applied.
ShownKey BankKeyShown(int entry, const ProfileRecord& shown, bool edited);

std::wstring StandardKeyName(int index);  // "Caps Lock"
std::wstring BankKeyName(int entry);      // "Key 5"
std::wstring CodeName(std::uint8_t usage);  // "Left Ctrl"
// A single key with its modifier byte as a face shows it: "Ctrl+Shift+A".
std::wstring ModifiedKeyLabel(std::uint8_t modifiers, std::uint8_t usage);
// A fixed-size name of the record (a macro's, a launch entry's) as the window shows it.
std::wstring RecordText(const char* field, std::size_t size);

// Whether the profile locks standard key `index` (the lock fields: 1 = locked).
bool IsLocked(int index, const ProfileRecord& profile);

}  // namespace brenik::option
