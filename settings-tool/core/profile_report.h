#pragma once
// What list and show print, as text for people and as JSON for scripts. Both read only the
// record; profiles are numbered from 1 here as on the command line.

#include "state_record.h"

#include <string>

namespace brenik::settings {

// source: where the record came from ("monitor" or "files"), carried into the JSON.
std::string ListText(const StateRecord& state);
std::string ListJson(const StateRecord& state, const std::string& source);

// profile: 1..5.
std::string ShowText(const StateRecord& state, int profile);
std::string ShowJson(const StateRecord& state, int profile, const std::string& source);

}  // namespace brenik::settings
