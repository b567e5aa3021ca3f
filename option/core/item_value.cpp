#include "item_value.h"

#include "key_assignment.h"

#include <cstring>

namespace brenik::option {
namespace {

using editing::ProfileField;
using editing::ValueKind;

// A text goes with its whole field: what the block held after its end comes back with it when
// an edit is taken back.
void CopyField(const ProfileField& field, const ProfileRecord& from, ProfileRecord& to) {
    if (field.kind != ValueKind::kText) {
        to.*field.integer = from.*field.integer;
        return;
    }
    const std::size_t offset = field.textOffset;
    std::memcpy(reinterpret_cast<char*>(&to) + offset, reinterpret_cast<const char*>(&from) + offset, field.textBytes);
}

bool SameField(const ProfileField& field, const ProfileRecord& a, const ProfileRecord& b) {
    if (field.kind != ValueKind::kText) return a.*field.integer == b.*field.integer;
    return editing::FieldText(field, a) == editing::FieldText(field, b);
}

std::string ProfilePrefix(int profile) { return "profile " + std::to_string(profile + 1) + ": "; }

}  // namespace

void CopyProfileItem(const EditItem& item, const ProfileRecord& from, ProfileRecord& to) {
    switch (item.kind) {
        case EditItem::Kind::kField: CopyField(*item.field, from, to); return;
        case EditItem::Kind::kStandardKeys: std::memcpy(to.standardkey, from.standardkey, sizeof to.standardkey); return;
        case EditItem::Kind::kKeyEntry: to.MacroKeyInfo[item.key] = from.MacroKeyInfo[item.key]; return;
        case EditItem::Kind::kCurrentProfile: return;
    }
}

bool SameProfileItem(const EditItem& item, const ProfileRecord& a, const ProfileRecord& b) {
    switch (item.kind) {
        case EditItem::Kind::kField: return SameField(*item.field, a, b);
        case EditItem::Kind::kStandardKeys: return std::memcmp(a.standardkey, b.standardkey, sizeof a.standardkey) == 0;
        case EditItem::Kind::kKeyEntry:
            return std::memcmp(&a.MacroKeyInfo[item.key], &b.MacroKeyInfo[item.key], sizeof(MacroKeyInfo)) == 0;
        case EditItem::Kind::kCurrentProfile: return true;
    }
    return true;
}

void CopyItemValue(const EditItem& item, const StateRecord& from, StateRecord& to) {
    if (item.kind == EditItem::Kind::kCurrentProfile) {
        to.CurrentProfile = from.CurrentProfile;
        return;
    }
    CopyProfileItem(item, from.Profiles[item.profile], to.Profiles[item.profile]);
}

bool SameItemValue(const EditItem& item, const StateRecord& a, const StateRecord& b) {
    if (item.kind == EditItem::Kind::kCurrentProfile) return a.CurrentProfile == b.CurrentProfile;
    return SameProfileItem(item, a.Profiles[item.profile], b.Profiles[item.profile]);
}

namespace {

template <typename T>
std::vector<std::uint8_t> BytesOf(const T& value) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&value);
    return std::vector<std::uint8_t>(bytes, bytes + sizeof value);
}

// False, writing nothing, for bytes of another size: they belong to another item.
template <typename T>
bool PutBytes(const std::vector<std::uint8_t>& bytes, T& value) {
    if (bytes.size() != sizeof value) return false;
    std::memcpy(&value, bytes.data(), sizeof value);
    return true;
}

}  // namespace

std::vector<std::uint8_t> ItemBytes(const EditItem& item, const StateRecord& values) {
    if (item.kind == EditItem::Kind::kCurrentProfile) return BytesOf(values.CurrentProfile);
    const ProfileRecord& profile = values.Profiles[item.profile];
    switch (item.kind) {
        case EditItem::Kind::kField: {
            if (item.field->kind != ValueKind::kText) return BytesOf(profile.*item.field->integer);
            const auto* text = reinterpret_cast<const std::uint8_t*>(&profile) + item.field->textOffset;
            return std::vector<std::uint8_t>(text, text + item.field->textBytes);
        }
        case EditItem::Kind::kStandardKeys: return BytesOf(profile.standardkey);
        case EditItem::Kind::kKeyEntry: return BytesOf(profile.MacroKeyInfo[item.key]);
        case EditItem::Kind::kCurrentProfile: break;
    }
    return {};
}

void PutItemBytes(const EditItem& item, const std::vector<std::uint8_t>& bytes, StateRecord& values) {
    if (item.kind == EditItem::Kind::kCurrentProfile) {
        PutBytes(bytes, values.CurrentProfile);
        return;
    }
    ProfileRecord& profile = values.Profiles[item.profile];
    switch (item.kind) {
        case EditItem::Kind::kField:
            if (item.field->kind != ValueKind::kText) {
                PutBytes(bytes, profile.*item.field->integer);
            } else if (bytes.size() == item.field->textBytes) {
                std::memcpy(reinterpret_cast<std::uint8_t*>(&profile) + item.field->textOffset, bytes.data(), bytes.size());
            }
            return;
        case EditItem::Kind::kStandardKeys: PutBytes(bytes, profile.standardkey); return;
        case EditItem::Kind::kKeyEntry: PutBytes(bytes, profile.MacroKeyInfo[item.key]); return;
        case EditItem::Kind::kCurrentProfile: return;
    }
}

std::string DescribeItemValue(const EditItem& item, const StateRecord& values) {
    switch (item.kind) {
        case EditItem::Kind::kField:
            return ProfilePrefix(item.profile) + item.field->name + " = " +
                   editing::FormatFieldValue(*item.field, values.Profiles[item.profile]);
        case EditItem::Kind::kStandardKeys: return ProfilePrefix(item.profile) + "standard keys";
        case EditItem::Kind::kKeyEntry:
            return ProfilePrefix(item.profile) + "key " + std::to_string(item.key + 1) + " = " +
                   editing::DescribeKeyAssignment(values.Profiles[item.profile].MacroKeyInfo[item.key]);
        case EditItem::Kind::kCurrentProfile:
            return "current profile = " + std::to_string(values.CurrentProfile + 1);
    }
    return {};
}

}  // namespace brenik::option
