#include "profile_history.h"

#include "debug_output.h"
#include "program_windows.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace brenik::history {
namespace {

// The new copy's name sorts after the newest one's, so that "newest" is always the last kept:
// in the same second, or with the clock put back, it takes the newest one's time and the next
// sequence, whatever the reasons.
std::string NameAfter(const std::string& newestName, const HistoryCopy& copy) {
    std::string name = HistoryFileName(copy.when, copy.reason);
    if (newestName.size() < kNameOrderLength || name.compare(0, kStampLength, newestName, 0, kStampLength) > 0) {
        return name;
    }
    const int sequence = std::atoi(newestName.substr(kStampLength + 1, 2).c_str());
    name = HistoryFileName(copy.when, copy.reason, std::min(sequence + 1, kLastSequence));
    return newestName.substr(0, kStampLength) + name.substr(kStampLength);
}

bool IsProfileFile(const HistoryFile& file) { return file.name != kConfigFileName; }

// The same profile files, config.ini aside.
bool SameProfiles(const HistoryCopy& a, const HistoryCopy& b) {
    auto profiles = [](const HistoryCopy& copy) {
        HistoryCopy only;
        for (const HistoryFile& file : copy.files) {
            if (IsProfileFile(file)) only.files.push_back(file);
        }
        return only;
    };
    return profiles(a).SameFiles(profiles(b));
}

}  // namespace

const std::vector<std::string>& KeptFileNames() {
    static const std::vector<std::string> names = {kConfigFileName,       "config\\Default0.cmp", "config\\Default1.cmp",
                                                   "config\\Default2.cmp", "config\\Default3.cmp", "config\\Default4.cmp"};
    return names;
}

ProfileHistory::ProfileHistory(std::string programFolder, ini::IIniStorage& storage, IHistoryFolder& folder)
    : programFolder_(std::move(programFolder)), storage_(storage), folder_(folder) {}

HistoryCopy ProfileHistory::Current(const HistoryTime& now, HistoryReason reason) {
    HistoryCopy copy;
    copy.when = now;
    copy.reason = reason;
    for (const std::string& name : KeptFileNames()) {
        HistoryFile file{name, {}};
        switch (storage_.ReadAll(programFolder_ + name, file.bytes)) {
            case ini::ReadOutcome::kRead: copy.files.push_back(std::move(file)); break;
            case ini::ReadOutcome::kMissing: break;
            case ini::ReadOutcome::kFailed:
                DebugPrintf("ProfileHistory could not read %s%s; the copy is kept without it\n", programFolder_.c_str(),
                            name.c_str());
                break;
        }
    }
    return copy;
}

std::vector<ProfileHistory::Listed> ProfileHistory::Copies() {
    std::vector<Listed> copies;
    for (const FolderFile& file : folder_.List(Folder(), kHistoryFileExtension)) copies.push_back({file.name, file.bytes});
    std::sort(copies.begin(), copies.end(), [](const Listed& a, const Listed& b) { return a.name > b.name; });
    return copies;
}

bool ProfileHistory::Newest(const std::vector<Listed>& copies, HistoryCopy& newest) {
    for (const Listed& listed : copies) {
        std::string text;
        std::string error;
        if (storage_.ReadAll(Folder() + listed.name, text) == ini::ReadOutcome::kRead &&
            DecodeHistoryCopy(text, newest, error)) {
            return true;
        }
        DebugPrintf("ProfileHistory passed over %s%s: %s\n", Folder().c_str(), listed.name.c_str(),
                    error.empty() ? "it could not be read" : error.c_str());
    }
    return false;
}

KeepOutcome ProfileHistory::Keep(HistoryReason reason, const HistoryTime& now) {
    std::lock_guard<std::mutex> one(keeping_);
    const HistoryCopy copy = Current(now, reason);
    if (std::none_of(copy.files.begin(), copy.files.end(), IsProfileFile)) return KeepOutcome::kNothingToKeep;
    const std::vector<Listed> copies = Copies();
    HistoryCopy newest;
    if (Newest(copies, newest) && SameProfiles(copy, newest)) return KeepOutcome::kUnchanged;
    return Write(copy, copies);
}

KeepOutcome ProfileHistory::KeepDailyIfDue(const HistoryTime& now) {
    std::lock_guard<std::mutex> one(keeping_);
    // Known without reading: another program's copies can only make the newest newer still.
    if (dailyCheckedAt_ && now.utcSeconds - *dailyCheckedAt_ < kDailySeconds) return KeepOutcome::kNotDue;
    const std::vector<Listed> copies = Copies();
    HistoryCopy newest;
    const bool any = Newest(copies, newest);
    // A clock put back counts as not due: the newest copy is no older than a day.
    if (any && now.utcSeconds - newest.when.utcSeconds < kDailySeconds) {
        dailyCheckedAt_ = newest.when.utcSeconds;
        return KeepOutcome::kNotDue;
    }
    const HistoryCopy copy = Current(now, HistoryReason::kDaily);
    // No files yet (a first start): the save about to run makes them, so the next save looks again.
    if (std::none_of(copy.files.begin(), copy.files.end(), IsProfileFile)) return KeepOutcome::kNothingToKeep;
    // Whatever else comes of it, the next look is a day away: a save must not read every file each time.
    dailyCheckedAt_ = now.utcSeconds;
    if (any && SameProfiles(copy, newest)) return KeepOutcome::kUnchanged;
    return Write(copy, copies);
}

KeepOutcome ProfileHistory::Write(const HistoryCopy& copy, const std::vector<Listed>& copies) {
    if (!folder_.Make(Folder())) {
        DebugPrintf("ProfileHistory could not make %s; no copy was kept\n", Folder().c_str());
        return KeepOutcome::kFailed;
    }
    const std::string name = NameAfter(copies.empty() ? std::string() : copies.front().name, copy);
    if (!storage_.ReplaceAll(Folder() + name, EncodeHistoryCopy(copy))) {
        DebugPrintf("ProfileHistory could not write %s%s; no copy was kept\n", Folder().c_str(), name.c_str());
        return KeepOutcome::kFailed;
    }
    Prune();
    return KeepOutcome::kKept;
}

void ProfileHistory::Prune() {
    std::uint64_t total = 0;
    int kept = 0;
    for (const Listed& listed : Copies()) {
        total += listed.bytes;
        ++kept;
        if (kept == 1 || (kept <= kMaxCopies && total <= kMaxBytes)) continue;
        if (!folder_.Remove(Folder() + listed.name)) {
            DebugPrintf("ProfileHistory could not remove %s%s\n", Folder().c_str(), listed.name.c_str());
        }
    }
}

std::vector<HistoryEntry> ProfileHistory::List(std::size_t most) {
    std::lock_guard<std::mutex> one(keeping_);
    std::vector<HistoryEntry> entries;
    for (const Listed& listed : Copies()) {
        if (entries.size() == most) break;
        HistoryEntry entry;
        entry.number = static_cast<int>(entries.size()) + 1;
        entry.file = listed.name;
        entry.bytes = listed.bytes;
        std::string text;
        if (storage_.ReadAll(Folder() + listed.name, text) != ini::ReadOutcome::kRead) {
            entry.damaged = true;
            entry.error = "it could not be read";
        } else if (!DecodeHistoryCopy(text, entry.copy, entry.error)) {
            entry.damaged = true;
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

}  // namespace brenik::history
