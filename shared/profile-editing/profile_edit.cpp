#include "profile_edit.h"

#include "key_assignment.h"
#include "profile_import.h"

#include <cstdint>
#include <cstring>
#include <memory>

namespace brenik::editing {

std::optional<ProfileEdit> FieldEdit(int profile, const ProfileField& field, std::string_view text, std::string& error) {
    const auto value = ParseFieldValue(field, text, error);
    if (!value) return std::nullopt;
    ProfileEdit edit;
    edit.profile = profile;
    edit.apply = [field = &field, value = *value, profile](StateRecord& state) {
        StoreFieldValue(*field, value, state.Profiles[profile]);
    };
    edit.what = std::string(field.name) + " = " + std::string(text);
    return edit;
}

std::optional<ProfileEdit> KeyEdit(int profile, int key, const std::vector<std::string>& words, std::string& error) {
    const auto entry = BuildKeyAssignment(words, key, error);
    if (!entry) {
        error = "key " + std::to_string(key + 1) + ": " + error;
        return std::nullopt;
    }
    auto shared = std::make_shared<MacroKeyInfo>(*entry);
    ProfileEdit edit;
    edit.profile = profile;
    edit.apply = [shared, profile, key](StateRecord& state) { state.Profiles[profile].MacroKeyInfo[key] = *shared; };
    edit.what = "key " + std::to_string(key + 1) + " = " + DescribeKeyAssignment(*entry);
    return edit;
}

ProfileEdit SwitchEdit(int profile) {
    ProfileEdit edit;
    edit.profile = profile;
    edit.apply = [profile](StateRecord& state) { state.CurrentProfile = profile; };
    edit.what = "current profile = " + std::to_string(profile + 1);
    edit.forceProfileFlag = true;
    edit.setsCurrent = true;
    return edit;
}

std::optional<ProfileEdit> ImportEdit(int profile, const std::string& path, ini::IIniStorage& storage,
                                      std::string& error) {
    auto imported = std::make_shared<ProfileRecord>();
    std::memset(imported.get(), 0, sizeof *imported);
    if (!ImportProfileFile(path, storage, *imported, error)) return std::nullopt;
    ProfileEdit edit;
    edit.profile = profile;
    edit.apply = [imported, profile](StateRecord& state) {
        const std::int32_t layer = state.Profiles[profile].ExtendedMode;  // live state, not a setting
        state.Profiles[profile] = *imported;
        state.Profiles[profile].ExtendedMode = layer;
    };
    edit.what = "imported " + path;
    return edit;
}

}  // namespace brenik::editing
