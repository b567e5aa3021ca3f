#pragma once
// Export of one profile to a profile file, as the monitor writes it. The file is always
// written new and whole, never merged into one that is there: a key the profile does not
// write must not survive from an older file. An existing file is replaced only when asked.

#include "ini_storage.h"
#include "profile_record.h"

#include <string>

namespace brenik::editing {

enum class ExportOutcome {
    kWritten,
    kExists,  // the file is there (or cannot be told missing) and replacing was not asked for
    kFailed,  // it could not be written
};

ExportOutcome ExportProfileFile(const ProfileRecord& profile, const std::string& path, ini::IIniStorage& storage,
                                bool replace);

}  // namespace brenik::editing
