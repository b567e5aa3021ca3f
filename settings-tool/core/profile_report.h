#pragma once
// What list and show print, as text for people and as JSON for scripts. Both read only the
// record; profiles are numbered from 1 here as on the command line.

#include "json_writer.h"
#include "state_record.h"

#include <string>

namespace brenik::settings {

// source: where the record came from ("monitor", "files" or "defaults"), carried into the
// JSON; toUtf8 converts the profile texts (json_writer.h).
std::string ListText(const StateRecord& state);
std::string ListJson(const StateRecord& state, const std::string& source, const json::ToUtf8& toUtf8 = {});

// profile: 1..5.
std::string ShowText(const StateRecord& state, int profile);
std::string ShowJson(const StateRecord& state, int profile, const std::string& source, const json::ToUtf8& toUtf8 = {});

}  // namespace brenik::settings
