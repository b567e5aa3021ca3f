#include "key_faces_win32.h"

#include "ansi_text_win32.h"
#include "key_code_catalogue.h"
#include "keyboard_layout.h"
#include "option_resources.h"
#include "option_strings_win32.h"
#include "profile_store.h"

#include <cstring>

namespace brenik::option {
namespace {

// The keys a profile can lock, by the name the layout gives them.
struct LockField {
    const char* keyName;
    std::int32_t ProfileRecord::*field;
};
constexpr LockField kLockFields[] = {
    {"Left Win", &ProfileRecord::LeftWin},   {"Right Win", &ProfileRecord::RightWin},
    {"Menu", &ProfileRecord::App},           {"Caps Lock", &ProfileRecord::CapsLock},
    {"Tab", &ProfileRecord::Tab},            {"Left Shift", &ProfileRecord::LeftShift},
};

// The modifier byte's bits, left and right alike on a face.
struct ModifierMark {
    std::uint8_t bits;
    UINT textId;
};
constexpr ModifierMark kModifierMarks[] = {
    {0x11, IDS_MOD_CTRL}, {0x22, IDS_MOD_SHIFT}, {0x44, IDS_MOD_ALT}, {0x88, IDS_MOD_WIN}};

std::wstring Widened(const std::string& text) { return std::wstring(text.begin(), text.end()); }

const MacroKeyInfo& EntryOf(const ProfileRecord& profile, int entry) {
    return profile.MacroKeyInfo[static_cast<std::size_t>(entry)];
}

}  // namespace

std::wstring StandardKeyName(int index) {
    return Widened(StandardKeyLayout()[static_cast<std::size_t>(index)].name);
}

std::wstring BankKeyName(int entry) { return Format(IDS_BANK_KEY, entry + 1); }

std::wstring CodeName(std::uint8_t usage) { return Widened(KeyCode(usage).name); }

std::wstring ModifiedKeyLabel(std::uint8_t modifiers, std::uint8_t usage) {
    std::wstring label;
    for (const ModifierMark& mark : kModifierMarks) {
        if ((modifiers & mark.bits) != 0) label += Text(mark.textId);
    }
    return label + Widened(KeyCode(usage).label);
}

std::wstring RecordText(const char* field, std::size_t size) {
    return WideFromAnsi(std::string_view(field, strnlen(field, size)));
}

bool IsLocked(int index, const ProfileRecord& profile) {
    const char* name = StandardKeyLayout()[static_cast<std::size_t>(index)].name;
    for (const LockField& lock : kLockFields) {
        if (std::strcmp(lock.keyName, name) == 0) return profile.*lock.field == 1;
    }
    return false;
}

ShownKey StandardKeyShown(int index, const ProfileRecord& shown, const ProfileRecord& loaded) {
    const DrawnKey& key = StandardKeyLayout()[static_cast<std::size_t>(index)];
    const std::uint8_t code = shown.standardkey[index];
    ShownKey result;
    result.face.changed = code != kDefaultStandardKeys[static_cast<std::size_t>(index)];
    // A key that keeps its own code shows its own name's label: the left Windows key's own
    // code has no name of its own.
    const bool ownName = !result.face.changed && KeyCode(code).name != key.name;
    result.face.label = ownName ? Widened(key.name) : Widened(KeyCode(code).label);
    result.face.locked = IsLocked(index, shown);
    result.face.edited = code != loaded.standardkey[index];
    result.face.onKeyboard = key.onKeyboard;
    result.name = StandardKeyName(index);
    if (!key.onKeyboard) return {result.face, Format(IDS_NAME_NOT_ON_KEYBOARD, result.name.c_str())};
    if (result.face.changed) result.name = Format(IDS_NAME_SENDS, result.name.c_str(), CodeName(code).c_str());
    if (result.face.locked) result.name = Format(IDS_NAME_LOCKED, result.name.c_str());
    return result;
}

ShownKey BankKeyShown(int entry, const ProfileRecord& shown, bool edited) {
    const BankKey& key = AssignableKeyBank()[static_cast<std::size_t>(entry)];
    const MacroKeyInfo& info = EntryOf(shown, entry);
    const int number = entry + 1;
    ShownKey result;
    result.face.corner = std::to_wstring(number);
    result.face.edited = edited;
    result.face.onKeyboard = key.onKeyboard;
    result.face.changed = info.FunctionType != kFunctionStandard;
    result.name = BankKeyName(entry);
    switch (info.FunctionType) {
        case kFunctionStandard:
            result.face.label = Widened(key.standardFunction);
            break;
        case kFunctionSingleKey: {
            result.face.label = ModifiedKeyLabel(info.Actions[0].EventType, info.Actions[0].KeyCode);
            result.name = Format(IDS_NAME_BANK_SINGLE, number, result.face.label.c_str());
            break;
        }
        case kFunctionMacro:
            result.face.label = Text(IDS_FACE_MACRO);
            result.name = Format(IDS_NAME_BANK_MACRO, number, RecordText(info.MacroName, sizeof info.MacroName).c_str());
            break;
        case kFunctionLaunchProgram:
            result.face.label = Text(IDS_FACE_PROGRAM);
            result.name =
                Format(IDS_NAME_BANK_PROGRAM, number, RecordText(info.ProgramPath, sizeof info.ProgramPath).c_str());
            break;
        case kFunctionLaunchEntry:
            result.face.label = Text(IDS_FACE_LAUNCH);
            result.name = Format(IDS_NAME_BANK_LAUNCH, number, RecordText(info.MacroName, sizeof info.MacroName).c_str());
            break;
        default: {
            wchar_t code[8];
            swprintf(code, 8, L"0x%02X", info.FunctionType);
            result.face.label = code;
            break;
        }
    }
    if (!key.onKeyboard) result.name = Format(IDS_NAME_NOT_ON_KEYBOARD, BankKeyName(entry).c_str());
    return result;
}

}  // namespace brenik::option
