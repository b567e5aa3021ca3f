#include "settings_model.h"

#include <cstring>
#include <initializer_list>

namespace brenik::option {
namespace {

using editing::FlagGroup;
using editing::ProfileField;
using editing::ProfileFields;

// The three fields that say which profile it is; a copy of "all" leaves them.
bool NamesTheProfile(const ProfileField& field) {
    return std::strcmp(field.name, "name") == 0 || std::strcmp(field.name, "game") == 0 ||
           std::strcmp(field.name, "picture") == 0;
}

bool IsOneOf(const ProfileField& field, std::initializer_list<const char*> names) {
    for (const char* name : names) {
        if (std::strcmp(field.name, name) == 0) return true;
    }
    return false;
}

// Whether an editable field belongs to a section; the key map and key entries are added apart.
bool InSection(Section section, const ProfileField& field) {
    switch (section) {
        case Section::kAll: return !NamesTheProfile(field);
        case Section::kLighting: return field.flag == FlagGroup::kLighting;
        case Section::kKeyLocks: return field.flag == FlagGroup::kLockKeys;
        case Section::kSounds:
            return IsOneOf(field, {"sound-macro-record", "sound-profile-switch", "sound-layer-switch", "sound-countdown"});
        case Section::kKeyRepeat: return IsOneOf(field, {"repeat-delay", "repeat-speed"});
        case Section::kMediaPlayer: return IsOneOf(field, {"media-player"});
        case Section::kKeys: return IsOneOf(field, {"key-assignments"});
    }
    return false;
}

bool TakesTheKeys(Section section) { return section == Section::kAll || section == Section::kKeys; }

}  // namespace

EditItem EditItem::Field(int profile, const editing::ProfileField& field) {
    EditItem item;
    item.kind = Kind::kField;
    item.profile = profile;
    item.field = &field;
    return item;
}

EditItem EditItem::StandardKeys(int profile) {
    EditItem item;
    item.kind = Kind::kStandardKeys;
    item.profile = profile;
    return item;
}

EditItem EditItem::KeyEntry(int profile, int key) {
    EditItem item;
    item.kind = Kind::kKeyEntry;
    item.profile = profile;
    item.key = key;
    return item;
}

EditItem EditItem::CurrentProfile() {
    EditItem item;
    item.kind = Kind::kCurrentProfile;
    return item;
}

bool EditItem::operator==(const EditItem& other) const {
    if (kind != other.kind) return false;
    switch (kind) {
        case Kind::kField: return profile == other.profile && field == other.field;
        case Kind::kStandardKeys: return profile == other.profile;
        case Kind::kKeyEntry: return profile == other.profile && key == other.key;
        case Kind::kCurrentProfile: return true;
    }
    return false;
}

std::vector<EditItem> SectionItems(Section section, int profile) {
    std::vector<EditItem> items;
    if (!IsProfileIndex(profile)) return items;
    for (const ProfileField& field : ProfileFields()) {
        if (field.editable && InSection(section, field)) items.push_back(EditItem::Field(profile, field));
    }
    if (TakesTheKeys(section)) {
        items.push_back(EditItem::StandardKeys(profile));
        for (int key = 0; key < kKeyEntryCount; ++key) items.push_back(EditItem::KeyEntry(profile, key));
    }
    return items;
}

}  // namespace brenik::option
