#pragma once
// The one table of a profile's plain fields as profile editing names them: the readable
// name (the settings tool's command line uses it), the profile file's key, the kind of value
// and its range, and the change flag an edit of it raises. An edit takes the editable ones
// (the tool's `set`), a report shows them all (its `show`), import checks each value read
// from a file against its range, and the flags of a change are computed from the flag
// column.
//
// Flags: the fields the lighting report carries raise LightingChanged, the six key locks
// LockKeysChanged (both lists are shared/profiles/report_fields.h). Fields only the monitor and the
// settings program use (names, game, picture, sounds, key repeat, media player, whether key
// assignments are exchanged) raise none: the monitor takes them when it re-reads the block.

#include "profile_record.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brenik::editing {

enum class ValueKind {
    kInteger,  // a number in [low, high]
    kSwitch,   // "on" (1) or "off" (0); 1 and 0 are taken too
    kChoice,   // one of the names in choices, stored as its position
    kText,     // a string field of textBytes bytes, at most textBytes - 1 characters
};

enum class FlagGroup { kNone, kLighting, kLockKeys };

struct ProfileField {
    const char* name;  // kebab-case
    const char* key;   // the profile file's key
    ValueKind kind;
    std::int32_t ProfileRecord::*integer;  // kInteger, kSwitch, kChoice
    std::size_t textOffset;                // kText: offset and size of the field
    std::size_t textBytes;
    std::int64_t low;
    std::int64_t high;
    const char* const* choices;  // kChoice: null-terminated list
    FlagGroup flag;
    bool editable;    // `set` takes it
    bool fromFile;    // LoadProfileFile reads it, so an import must find it
    const char* what; // one line for --help and show
};

const std::vector<ProfileField>& ProfileFields();
const ProfileField* FindProfileField(std::string_view name);

// The value of `text` for the field, range-checked; error says why not.
struct FieldValue {
    std::int32_t integer = 0;
    std::string text;
};
std::optional<FieldValue> ParseFieldValue(const ProfileField& field, std::string_view text, std::string& error);

// Why a text value would not come back as it is after the monitor saves and reloads its
// profile file: a line break or NUL, blanks at either end (the INI reader trims space, tab,
// VT, FF and 0x1A), or one pair of outer quotes (" or ', removed when read). Empty when the
// text survives.
std::string TextRoundTripProblem(std::string_view text);

// Stores a parsed value; text is zero-filled to the end of its field.
void StoreFieldValue(const ProfileField& field, const FieldValue& value, ProfileRecord& record);

// Readable: "on"/"off" for a switch holding 1/0, the choice's name, the text (up to its
// terminator or the end of the field), or the number; any value outside the field's range is
// shown as its number.
std::string FormatFieldValue(const ProfileField& field, const ProfileRecord& record);

// The text of a string field, never past the field.
std::string FieldText(const ProfileField& field, const ProfileRecord& record);

// The allowed values, for messages and --help: "0..255", "on|off", "wmp|itunes|vlc|winamp",
// "text of at most 249 characters".
std::string DescribeRange(const ProfileField& field);

}  // namespace brenik::editing
