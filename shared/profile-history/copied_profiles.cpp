#include "copied_profiles.h"

#include "config_ini_keys.h"
#include "ini_file.h"
#include "profile_import.h"
#include "profile_store.h"
#include "program_windows.h"

#include <cstring>
#include <memory>

namespace brenik::history {
namespace {

// The copy's files, read only, by their names below the program folder.
class CopyStorage final : public ini::IIniStorage {
public:
    explicit CopyStorage(const HistoryCopy& copy) : copy_(copy) {}
    ini::ReadOutcome ReadAll(const std::string& path, std::string& bytes) override {
        const HistoryFile* file = copy_.Find(path);
        if (file == nullptr) return ini::ReadOutcome::kMissing;
        bytes = file->bytes;
        return ini::ReadOutcome::kRead;
    }
    bool ReplaceAll(const std::string&, std::string_view) override { return false; }

private:
    const HistoryCopy& copy_;
};

std::string ProfileName(int p) { return "config\\Default" + std::to_string(p) + ".cmp"; }

}  // namespace

bool ReadCopiedProfiles(const HistoryCopy& copy, StateRecord& state, std::string& error) {
    CopyStorage storage(copy);
    auto read = std::make_unique<StateRecord>(state);
    for (int p = 0; p < kProfileCount; ++p) {
        if (copy.Find(ProfileName(p)) == nullptr) continue;
        const std::int32_t layer = read->Profiles[p].ExtendedMode;
        std::string why;
        if (!editing::ImportProfileFile(ProfileName(p), storage, read->Profiles[p], why)) {
            error = ProfileName(p) + " of the copy: " + why;
            return false;
        }
        read->Profiles[p].ExtendedMode = layer;
    }
    const int current = ini::CIniFile(kConfigFileName, storage).ReadInt(kConfigSettingSection, kCurrentProfileKey, -1);
    if (current >= 0 && current < kProfileCount) read->CurrentProfile = current;
    state = *read;
    return true;
}

std::optional<editing::ProfileEdit> RestoreEdit(const HistoryCopy& copy, int number, std::string& error) {
    // Checked now, in full, against an empty record: only what the copy holds is kept.
    auto restored = std::make_shared<StateRecord>();
    std::memset(restored.get(), 0, sizeof *restored);
    restored->CurrentProfile = -1;
    if (!ReadCopiedProfiles(copy, *restored, error)) return std::nullopt;
    std::array<bool, kProfileCount> has{};
    for (int p = 0; p < kProfileCount; ++p) has[p] = copy.Find(ProfileName(p)) != nullptr;

    editing::ProfileEdit edit;
    edit.profile = 0;
    edit.wholeRecord = true;
    edit.apply = [restored, has](StateRecord& state) {
        for (int p = 0; p < kProfileCount; ++p) {
            if (!has[p]) continue;
            const std::int32_t layer = state.Profiles[p].ExtendedMode;
            state.Profiles[p] = restored->Profiles[p];
            state.Profiles[p].ExtendedMode = layer;
        }
        if (restored->CurrentProfile >= 0) state.CurrentProfile = restored->CurrentProfile;
    };
    edit.what = "restored copy " + std::to_string(number) + " of " + copy.when.local;
    return edit;
}

}  // namespace brenik::history
