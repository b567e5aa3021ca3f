#include "copy_differences.h"

#include "copied_profiles.h"
#include "profile_fields.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string_view>

namespace brenik::history {
namespace {

bool StartsWith(std::string_view text, std::string_view start) { return text.substr(0, start.size()) == start; }

// The section a plain field belongs to; empty for the live layer.
std::string SectionOf(const editing::ProfileField& field) {
    const std::string_view name = field.name;
    if (name == "extended-layer") return {};
    if (field.flag == editing::FlagGroup::kLighting || StartsWith(name, "light-") || StartsWith(name, "logo-") ||
        StartsWith(name, "color-")) {
        return "lighting";
    }
    if (field.flag == editing::FlagGroup::kLockKeys) return "locked keys";
    if (StartsWith(name, "sound-")) return "sounds";
    if (StartsWith(name, "repeat-")) return "key repeat";
    std::string words(name);
    std::replace(words.begin(), words.end(), '-', ' ');
    return words;
}

bool FieldDiffers(const editing::ProfileField& field, const ProfileRecord& a, const ProfileRecord& b) {
    if (field.integer != nullptr) return a.*field.integer != b.*field.integer;
    return editing::FieldText(field, a) != editing::FieldText(field, b);
}

void AddOnce(std::vector<std::string>& sections, const std::string& section) {
    if (!section.empty() && std::find(sections.begin(), sections.end(), section) == sections.end()) {
        sections.push_back(section);
    }
}

}  // namespace

std::vector<std::string> DifferingSections(const ProfileRecord& then, const ProfileRecord& now) {
    std::vector<std::string> sections;
    for (const editing::ProfileField& field : editing::ProfileFields()) {
        if (FieldDiffers(field, then, now)) AddOnce(sections, SectionOf(field));
    }
    if (std::memcmp(then.standardkey, now.standardkey, sizeof then.standardkey) != 0) AddOnce(sections, "standard keys");
    std::string keys;
    for (int k = 0; k < kKeyEntryCount; ++k) {
        if (std::memcmp(&then.MacroKeyInfo[k], &now.MacroKeyInfo[k], sizeof(MacroKeyInfo)) == 0) continue;
        keys += (keys.empty() ? "key " : ", ") + std::to_string(k + 1);
    }
    if (keys.find(',') != std::string::npos) keys.insert(3, "s");  // "keys 3, 5"
    AddOnce(sections, keys);
    return sections;
}

CopyDifferences DifferencesFromNow(const HistoryCopy& copy, const StateRecord& now) {
    CopyDifferences differences;
    auto then = std::make_unique<StateRecord>(now);
    if (!ReadCopiedProfiles(copy, *then, differences.error)) return differences;
    for (int p = 0; p < kProfileCount; ++p) {
        std::vector<std::string> sections = DifferingSections(then->Profiles[p], now.Profiles[p]);
        if (!sections.empty()) differences.profiles.push_back({p, std::move(sections)});
    }
    differences.currentProfile = then->CurrentProfile != now.CurrentProfile;
    return differences;
}

std::string CopyDifferences::Text() const {
    if (!error.empty()) return "cannot be read: " + error;
    if (None()) return "the same as now";
    std::string text;
    for (const ProfileDifference& profile : profiles) {
        if (!text.empty()) text += "; ";
        text += "Profile " + std::to_string(profile.profile + 1) + ": ";
        for (std::size_t i = 0; i < profile.sections.size(); ++i) text += (i ? ", " : "") + profile.sections[i];
    }
    if (currentProfile) text += std::string(text.empty() ? "" : "; ") + "the current profile";
    return text;
}

}  // namespace brenik::history
