#pragma once
// The history of the profiles: before anything overwrites the profile files with content the
// user did not make there (the keyboard's settings read back, an import, a restore) and before a
// save when the newest copy is a day old, a dated copy of the five profile files and config.ini is kept in
// "config\History\" below the program folder, so that nothing a user set is lost for good.
//
// - A copy is one file (history_copy.h), written with the same atomic replace as every save:
//   a program killed while writing leaves the history and the profiles as they were.
// - A copy is kept only when a profile file differs from the newest copy's. config.ini is kept
//   with each copy, but its changes alone (the keyboard's token and presence, the display's
//   messages) make none.
// - Bounded: the newest kMaxCopies copies and at most kMaxBytes of them; the oldest go first,
//   the newest always stays.
// - A copy that cannot be kept is said in a debugger-output line and never stops the caller:
//   the save or the job it precedes goes on.
// The monitor keeps copies before a read-back, before restoring the keyboard and daily; a
// settings face before an import and before restoring a copy. Safe to call from several
// threads. Names sort in the order the copies were kept (a clock put back included); two
// programs keeping a copy for the same reason in the same second write one name, the second
// replacing the first, which held the same files.

#include "history_copy.h"
#include "history_folder.h"
#include "ini_storage.h"

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace brenik::history {

constexpr int kMaxCopies = 20;
constexpr std::uint64_t kMaxBytes = 4 * 1024 * 1024;
constexpr std::int64_t kDailySeconds = 24 * 60 * 60;
// Below the program folder.
constexpr const char* kHistoryFolder = "config\\History\\";

// The kept files, named below the program folder: config.ini, then the five profile files.
const std::vector<std::string>& KeptFileNames();

enum class KeepOutcome {
    kKept,
    kUnchanged,      // the profile files are those of the newest copy
    kNothingToKeep,  // there is no profile file yet
    kNotDue,         // daily: the newest copy is younger than a day
    kFailed,         // said in a debugger-output line
};

struct HistoryEntry {
    int number = 0;  // 1 is the newest
    std::string file;
    std::uint64_t bytes = 0;
    bool damaged = false;
    std::string error;  // why it is damaged
    HistoryCopy copy;   // when, why and the files; empty when damaged
};

class ProfileHistory {
public:
    ProfileHistory(std::string programFolder, ini::IIniStorage& storage, IHistoryFolder& folder);

    ProfileHistory(const ProfileHistory&) = delete;
    ProfileHistory& operator=(const ProfileHistory&) = delete;

    KeepOutcome Keep(HistoryReason reason, const HistoryTime& now);
    // A copy for the day, when the newest copy is at least a day old (or there is none); looked
    // at once a day at most, so that the saves in between read no file for it.
    KeepOutcome KeepDailyIfDue(const HistoryTime& now);

    // Every copy, newest first (at most `most` of them); a damaged one is listed as such.
    std::vector<HistoryEntry> List(std::size_t most = SIZE_MAX);
    // The files as they stand now, as a copy would hold them.
    HistoryCopy Current(const HistoryTime& now, HistoryReason reason);

    std::string Folder() const { return programFolder_ + kHistoryFolder; }

private:
    struct Listed {
        std::string name;
        std::uint64_t bytes;
    };
    // The copies' files, newest first.
    std::vector<Listed> Copies();
    // The newest copy that can be read; false when there is none.
    bool Newest(const std::vector<Listed>& copies, HistoryCopy& newest);
    KeepOutcome Write(const HistoryCopy& copy, const std::vector<Listed>& copies);
    void Prune();

    const std::string programFolder_;
    ini::IIniStorage& storage_;
    IHistoryFolder& folder_;
    std::optional<std::int64_t> dailyCheckedAt_;  // when the daily copy was last looked at
    std::mutex keeping_;
};

}  // namespace brenik::history
