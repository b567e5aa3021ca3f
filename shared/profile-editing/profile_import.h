#pragma once
// Import of a profile file, as the monitor writes it, into one profile of the record.
//
// The file is read once and then loaded with LoadProfileFile, as the monitor loads it, and
// refused whole when it cannot be read or a value in it is missing or out of range: a
// missing integer would load as -1 and a missing table or key entry would keep whatever
// the profile held, so a damaged file would otherwise half-replace a profile. The error names
// the key. Beyond the monitor's load:
//   - "LogoOption", which the monitor writes but does not read back, is taken from the file,
//     so an export and an import give the profile back whole;
//   - strings longer than their field are refused, not cut;
//   - every key entry must hold at most 400 actions and a terminated program path;
//   - ExtendedMode is the keyboard's live layer, not a setting: the profile keeps its own.

#include "ini_storage.h"
#include "profile_record.h"

#include <string>

namespace brenik::editing {

// On success `profile` holds the file's settings; on failure it is untouched and error says
// which key (or that the file could not be read) and why.
bool ImportProfileFile(const std::string& path, ini::IIniStorage& storage, ProfileRecord& profile, std::string& error);

}  // namespace brenik::editing
