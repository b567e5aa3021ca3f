#pragma once
// One dated copy of the profile files and config.ini, as it is kept in the history, and the
// one file it is written as. A copy is a single file so that one atomic replace writes it
// whole: a program killed while writing leaves the copy either complete or absent.
//
// The file: a text head, then each kept file packed (run_length.h) with its length and sum,
// so a damaged copy is found and never restored:
//   BrenikProfileHistory 1
//   Time=<seconds since 1970, UTC>
//   Local=<the local time, as shown>
//   Reason=<read-back|import|restore|daily>
//   File=<name> <bytes> <FNV-1a 64 of the bytes, hex> <packed bytes>
//   <packed bytes>
//   ... (one File= per kept file)
//   End

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brenik::history {

// Why a copy was kept: what was about to overwrite the files.
enum class HistoryReason {
    kReadBack,  // job 2 read the keyboard's settings back over the profiles
    kImport,    // a profile file imported through a settings face
    kRestore,   // the keyboard restored to its defaults, or a copy of the history restored
    kDaily,     // the first save of the monitor in a day
};

// "read-back", "import", "restore", "daily": the file's and the settings tool's word.
const char* ReasonWord(HistoryReason reason);
// What the user is shown: "the keyboard's settings were read back", "imported", ...
const char* ReasonSentence(HistoryReason reason);
std::optional<HistoryReason> ReasonFromWord(std::string_view word);

struct HistoryTime {
    std::int64_t utcSeconds = 0;
    std::string local;  // "2026-12-09 07:40:12"
};

// Now, from the running platform's clock (history_time_win32.cpp).
HistoryTime HistoryTimeNow();

// A kept file, named as below the program folder: "config.ini", "config\Default0.cmp".
struct HistoryFile {
    std::string name;
    std::string bytes;
};

struct HistoryCopy {
    HistoryTime when;
    HistoryReason reason = HistoryReason::kDaily;
    std::vector<HistoryFile> files;

    const HistoryFile* Find(std::string_view name) const;
    // The same files with the same bytes, in any order.
    bool SameFiles(const HistoryCopy& other) const;
};

std::string EncodeHistoryCopy(const HistoryCopy& copy);
// Refuses anything but a whole, undamaged copy: error says what is wrong.
bool DecodeHistoryCopy(std::string_view text, HistoryCopy& copy, std::string& error);

// The copy's file name, so that names sort as the copies were made: the time (UTC), then a
// sequence for copies made in the same second (0..99), then the reason:
// "20261209-064012-00-read-back.bkh".
std::string HistoryFileName(const HistoryTime& when, HistoryReason reason, int sequence = 0);
constexpr const char* kHistoryFileExtension = ".bkh";
constexpr std::size_t kStampLength = 15;      // "20261209-064012"
constexpr std::size_t kNameOrderLength = 19;  // the stamp and "-00-"
constexpr int kLastSequence = 99;

}  // namespace brenik::history
