#include "history_copy.h"

#include "run_length.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace brenik::history {
namespace {

constexpr std::string_view kMagic = "BrenikProfileHistory 1";
constexpr std::string_view kLineEnd = "\r\n";
// A copy holds config.ini and five profile files of about 170 KB each; anything far beyond
// that is damage (or a file made to exhaust memory), not a copy.
constexpr std::size_t kLargestFile = 4 * 1024 * 1024;
constexpr std::size_t kMostFiles = 8;
constexpr std::size_t kLargestTotal = 16 * 1024 * 1024;
// 0001-01-01 .. 9999-12-31 (UTC): a time whose arithmetic cannot overflow.
constexpr std::int64_t kEarliestTime = -62135596800;
constexpr std::int64_t kLatestTime = 253402300799;

struct ReasonRow {
    HistoryReason reason;
    const char* word;
    const char* sentence;
};

constexpr ReasonRow kReasons[] = {
    {HistoryReason::kReadBack, "read-back", "the keyboard's settings were read back"},
    {HistoryReason::kImport, "import", "imported"},
    {HistoryReason::kRestore, "restore", "restored"},
    {HistoryReason::kDaily, "daily", "daily"},
};

const ReasonRow& RowOf(HistoryReason reason) {
    for (const ReasonRow& row : kReasons) {
        if (row.reason == reason) return row;
    }
    static constexpr ReasonRow kUnknown = {HistoryReason::kDaily, "daily", "daily"};
    return kUnknown;
}

std::uint64_t Fnv1a64(std::string_view bytes) {
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (unsigned char c : bytes) {
        hash ^= c;
        hash *= 0x100000001b3ull;
    }
    return hash;
}

std::string Hex64(std::uint64_t value) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
    return text;
}

// Reads the text up to the next line end; false at the end of the text.
bool NextLine(std::string_view text, std::size_t& at, std::string_view& line) {
    const std::size_t end = text.find(kLineEnd, at);
    if (end == std::string_view::npos) return false;
    line = text.substr(at, end - at);
    at = end + kLineEnd.size();
    return true;
}

bool TakeValue(std::string_view line, std::string_view key, std::string_view& value) {
    if (line.size() <= key.size() || line.substr(0, key.size()) != key || line[key.size()] != '=') return false;
    value = line.substr(key.size() + 1);
    return true;
}

template <typename Number>
bool ParseNumber(std::string_view text, Number& number, int base = 10) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number, base);
    return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

bool Fail(std::string& error, std::string why) {
    error = std::move(why);
    return false;
}

// "File=<name> <bytes> <hash> <packed>": the name may hold blanks, the three numbers not.
bool ParseFileLine(std::string_view value, std::string& name, std::size_t& size, std::uint64_t& hash,
                   std::size_t& packed) {
    std::string_view fields[3];
    for (int i = 2; i >= 0; --i) {
        const std::size_t blank = value.rfind(' ');
        if (blank == std::string_view::npos) return false;
        fields[i] = value.substr(blank + 1);
        value = value.substr(0, blank);
    }
    name = std::string(value);
    return !name.empty() && ParseNumber(fields[0], size) && ParseNumber(fields[1], hash, 16) &&
           ParseNumber(fields[2], packed);
}

// Days since 1970-01-01 to a civil date (the proleptic Gregorian calendar).
void CivilFromDays(std::int64_t days, int& year, int& month, int& day) {
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t mp = (5 * dayOfYear + 2) / 153;
    day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
}

}  // namespace

const char* ReasonWord(HistoryReason reason) { return RowOf(reason).word; }
const char* ReasonSentence(HistoryReason reason) { return RowOf(reason).sentence; }

std::optional<HistoryReason> ReasonFromWord(std::string_view word) {
    for (const ReasonRow& row : kReasons) {
        if (word == row.word) return row.reason;
    }
    return std::nullopt;
}

const HistoryFile* HistoryCopy::Find(std::string_view name) const {
    for (const HistoryFile& file : files) {
        if (file.name == name) return &file;
    }
    return nullptr;
}

bool HistoryCopy::SameFiles(const HistoryCopy& other) const {
    if (files.size() != other.files.size()) return false;
    return std::all_of(files.begin(), files.end(), [&](const HistoryFile& file) {
        const HistoryFile* theirs = other.Find(file.name);
        return theirs != nullptr && theirs->bytes == file.bytes;
    });
}

std::string EncodeHistoryCopy(const HistoryCopy& copy) {
    std::string text(kMagic);
    text += kLineEnd;
    text += "Time=" + std::to_string(copy.when.utcSeconds) + std::string(kLineEnd);
    text += "Local=" + copy.when.local + std::string(kLineEnd);
    text += std::string("Reason=") + ReasonWord(copy.reason) + std::string(kLineEnd);
    for (const HistoryFile& file : copy.files) {
        const std::string packed = PackRuns(file.bytes);
        text += "File=" + file.name + " " + std::to_string(file.bytes.size()) + " " + Hex64(Fnv1a64(file.bytes)) + " " +
                std::to_string(packed.size()) + std::string(kLineEnd);
        text += packed;
        text += kLineEnd;
    }
    text += "End";
    text += kLineEnd;
    return text;
}

bool DecodeHistoryCopy(std::string_view text, HistoryCopy& copy, std::string& error) {
    HistoryCopy read;
    std::size_t at = 0;
    std::string_view line;
    std::string_view value;
    if (!NextLine(text, at, line) || line != kMagic) return Fail(error, "not a history copy");
    if (!NextLine(text, at, line) || !TakeValue(line, "Time", value) || !ParseNumber(value, read.when.utcSeconds) ||
        read.when.utcSeconds < kEarliestTime || read.when.utcSeconds > kLatestTime) {
        return Fail(error, "no time");
    }
    if (!NextLine(text, at, line) || !TakeValue(line, "Local", value)) return Fail(error, "no local time");
    read.when.local = std::string(value);
    std::optional<HistoryReason> reason;
    if (!NextLine(text, at, line) || !TakeValue(line, "Reason", value) || !(reason = ReasonFromWord(value))) {
        return Fail(error, "no reason");
    }
    read.reason = *reason;
    std::size_t total = 0;
    for (;;) {
        if (!NextLine(text, at, line)) return Fail(error, "cut short");
        if (line == "End") break;
        if (read.files.size() == kMostFiles) return Fail(error, "more files than a copy holds");
        HistoryFile file;
        std::size_t size = 0;
        std::uint64_t hash = 0;
        std::size_t packed = 0;
        if (!TakeValue(line, "File", value) || !ParseFileLine(value, file.name, size, hash, packed)) {
            return Fail(error, "a damaged file line");
        }
        total += size;
        if (size > kLargestFile || total > kLargestTotal) return Fail(error, file.name + " is larger than a copy holds");
        if (packed > text.size() - at || text.substr(at + packed, kLineEnd.size()) != kLineEnd) {
            return Fail(error, file.name + " is cut short");
        }
        if (!UnpackRuns(text.substr(at, packed), size, file.bytes) || file.bytes.size() != size ||
            Fnv1a64(file.bytes) != hash) {
            return Fail(error, file.name + " is damaged");
        }
        if (read.Find(file.name) != nullptr) return Fail(error, file.name + " is there twice");
        at += packed + kLineEnd.size();
        read.files.push_back(std::move(file));
    }
    if (at != text.size()) return Fail(error, "text after its end");
    copy = std::move(read);
    return true;
}

std::string HistoryFileName(const HistoryTime& when, HistoryReason reason, int sequence) {
    const std::int64_t days = (when.utcSeconds >= 0 ? when.utcSeconds : when.utcSeconds - 86399) / 86400;
    const std::int64_t second = when.utcSeconds - days * 86400;
    int year = 0, month = 0, day = 0;
    CivilFromDays(days, year, month, day);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d%02d", year, month, day, static_cast<int>(second / 3600),
                  static_cast<int>(second / 60 % 60), static_cast<int>(second % 60));
    char order[8];
    std::snprintf(order, sizeof order, "-%02d-", sequence % 100);
    return std::string(stamp) + order + ReasonWord(reason) + kHistoryFileExtension;
}

}  // namespace brenik::history
