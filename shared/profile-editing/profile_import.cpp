#include "profile_import.h"

#include "debug_output.h"
#include "ini_file.h"
#include "profile_fields.h"
#include "profile_store.h"

#include <cstring>
#include <memory>
#include <optional>
#include <utility>

namespace brenik::editing {
namespace {

// The one file as it was read, so the checks and the load see the same bytes however the
// file changes meanwhile. Nothing is ever written through it.
class ReadOnce final : public ini::IIniStorage {
public:
    ReadOnce(std::string path, std::string bytes) : path_(std::move(path)), bytes_(std::move(bytes)) {}
    ini::ReadOutcome ReadAll(const std::string& path, std::string& bytes) override {
        if (path != path_) return ini::ReadOutcome::kMissing;
        bytes = bytes_;
        return ini::ReadOutcome::kRead;
    }
    bool ReplaceAll(const std::string&, std::string_view) override { return false; }

private:
    std::string path_;
    std::string bytes_;
};

// The text as the monitor writes a number ("%d"): an optional minus and decimal digits,
// nothing else. The platform's reader would take "abc" as 0, "12abc" as 12 and wrap
// "4294967551" to 255, so the raw text is checked, not what the load made of it.
std::optional<std::int64_t> StrictInteger(const std::string& text) {
    const std::size_t first = !text.empty() && text[0] == '-' ? 1 : 0;
    const std::size_t digits = text.size() - first;
    if (digits == 0 || digits > 10) return std::nullopt;
    std::int64_t value = 0;
    for (std::size_t i = first; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return first ? -value : value;
}

bool CheckFields(const ini::CIniFile& ini, std::string& error) {
    for (const ProfileField& field : ProfileFields()) {
        if (!field.fromFile) continue;
        const std::string raw = ini.ReadString(kProfileSection, field.key, "");
        if (field.kind == ValueKind::kText) {
            if (raw.size() >= field.textBytes) {
                error = std::string(field.key) + " has " + std::to_string(raw.size()) + " characters; its field holds " +
                        std::to_string(field.textBytes - 1);
                return false;
            }
            if (const std::string problem = TextRoundTripProblem(raw); !problem.empty()) {
                error = std::string(field.key) + ": " + problem;
                return false;
            }
            continue;
        }
        if (raw.empty()) {
            error = std::string(field.key) + " is missing";
            return false;
        }
        const auto value = StrictInteger(raw);
        if (!value) {
            error = std::string(field.key) + " = \"" + raw + "\" is not a whole number";
            return false;
        }
        if (*value < field.low || *value > field.high) {
            error = std::string(field.key) + " = " + raw + " is out of range (" + DescribeRange(field) + ")";
            return false;
        }
    }
    return true;
}

bool CheckTables(const ini::CIniFile& ini, std::string& error) {
    std::uint8_t standardKeys[kStandardKeyCount];
    if (!ini.ReadStruct(kProfileSection, "standardkey", standardKeys, sizeof standardKeys)) {
        error = "standardkey is missing or damaged";
        return false;
    }
    auto entry = std::make_unique<MacroKeyInfo>();
    for (int k = 0; k < kKeyEntryCount; ++k) {
        const std::string key = "MacroKeyInfo" + std::to_string(k);
        if (!ini.ReadStruct(kProfileSection, key, entry.get(), sizeof *entry)) {
            error = key + " is missing or damaged";
            return false;
        }
        if (entry->ActionCount > kMaxMacroActions) {
            error = key + " holds " + std::to_string(entry->ActionCount) + " actions; at most " +
                    std::to_string(kMaxMacroActions);
            return false;
        }
        if (std::memchr(entry->ProgramPath, 0, sizeof entry->ProgramPath) == nullptr) {
            error = key + " has a program path without an end";
            return false;
        }
    }
    return true;
}

}  // namespace

bool ImportProfileFile(const std::string& path, ini::IIniStorage& storage, ProfileRecord& profile, std::string& error) {
    std::string bytes;
    switch (storage.ReadAll(path, bytes)) {
        case ini::ReadOutcome::kRead: break;
        case ini::ReadOutcome::kMissing: error = path + " does not exist"; return false;
        case ini::ReadOutcome::kFailed: error = path + " cannot be read"; return false;
    }
    ReadOnce file(path, std::move(bytes));
    auto loaded = std::make_unique<ProfileRecord>(profile);
    if (!LoadProfileFile(*loaded, path, file)) {
        error = path + " cannot be read";
        return false;
    }
    const ini::CIniFile ini(path, file);
    // The monitor's load skips "LogoOption" although its save writes it; take it from the file.
    loaded->LogoOption = ini.ReadInt(kProfileSection, "LogoOption", -1);
    if (!CheckFields(ini, error) || !CheckTables(ini, error)) {
        DebugPrintf("BrenikSettings refused to import %s: %s\n", path.c_str(), error.c_str());
        return false;
    }
    loaded->ExtendedMode = profile.ExtendedMode;
    profile = *loaded;
    return true;
}

}  // namespace brenik::editing
