#pragma once
// The value of one EditItem in a record: copied, compared and described the same way for
// every kind of item, so that an edit, a pending edit, the block and the record an apply
// writes all agree on what "the item's value" is.
//   a plain field   its integer, or its text up to the first zero; a copy takes the whole
//                   field (an edit's text is stored with zero fill to the end by the editing
//                   core, so an apply writes it so)
//   standard keys   the 97 bytes of standardkey
//   a key entry     the whole MacroKeyInfo
//   the current profile: CurrentProfile

#include "settings_model.h"
#include "state_record.h"

#include <cstdint>
#include <string>
#include <vector>

namespace brenik::option {

// item names which thing; its profile is ignored here: the values are those of `from` and
// `to` as given (for a copy from one profile to another).
void CopyProfileItem(const EditItem& item, const ProfileRecord& from, ProfileRecord& to);
bool SameProfileItem(const EditItem& item, const ProfileRecord& a, const ProfileRecord& b);

// The item of its own profile (or the current index) between two whole records.
void CopyItemValue(const EditItem& item, const StateRecord& from, StateRecord& to);
bool SameItemValue(const EditItem& item, const StateRecord& a, const StateRecord& b);

// The item's value as bytes and back, for undo: a few bytes for a field, 97 for the key map,
// 1936 for a key entry, rather than a whole record per step.
std::vector<std::uint8_t> ItemBytes(const EditItem& item, const StateRecord& values);
void PutItemBytes(const EditItem& item, const std::vector<std::uint8_t>& bytes, StateRecord& values);

// One readable line, profiles counted from 1: "profile 3: key-red = 255",
// "profile 1: key 5 = single A", "profile 2: standard keys", "current profile = 4".
std::string DescribeItemValue(const EditItem& item, const StateRecord& values);

}  // namespace brenik::option
