#include "key_conflicts.h"

#include "key_code_catalogue.h"
#include "keyboard_layout.h"
#include "profile_store.h"

#include <algorithm>
#include <cstring>

namespace brenik::option {
namespace {

constexpr std::uint8_t kUsageLeftWin = 0xE3;
constexpr std::uint8_t kUsageRightWin = 0xE7;
// The Windows keys' bits in a single key's modifier byte (Left Ctrl is bit 0, as the usages run).
constexpr std::uint8_t kModifierLeftWin = 0x08;
constexpr std::uint8_t kModifierRightWin = 0x80;

struct WindowsKey {
    std::int32_t ProfileRecord::*lock;
    std::uint8_t usage;
    std::uint8_t modifier;
};
constexpr WindowsKey kWindowsKeys[] = {
    {&ProfileRecord::LeftWin, kUsageLeftWin, kModifierLeftWin},
    {&ProfileRecord::RightWin, kUsageRightWin, kModifierRightWin},
};

std::string ProfileName(int p) { return "Profile " + std::to_string(p + 1); }
std::string KeyName(int k) { return "key " + std::to_string(k + 1); }

bool MacroSends(const MacroKeyInfo& entry, std::uint8_t usage) {
    const int count = entry.ActionCount <= kMaxMacroActions ? entry.ActionCount : kMaxMacroActions;
    for (int i = 0; i < count; ++i) {
        if (entry.Actions[i].KeyCode == usage) return true;
    }
    return false;
}

// What of the profile sends the Windows key: "key 5's macro", "key 3", a standard key's name; with
// the key entry, or -1 for a standard key.
std::vector<std::pair<int, std::string>> SendersOf(const ProfileRecord& profile, const WindowsKey& key) {
    std::vector<std::pair<int, std::string>> senders;
    for (int k = 0; k < kKeyEntryCount; ++k) {
        const MacroKeyInfo& entry = profile.MacroKeyInfo[k];
        if (entry.FunctionType == kFunctionMacro && MacroSends(entry, key.usage)) {
            senders.push_back({k, KeyName(k) + "'s macro"});
        } else if (entry.FunctionType == kFunctionSingleKey &&
                   (entry.Actions[0].KeyCode == key.usage || (entry.Actions[0].EventType & key.modifier) != 0)) {
            senders.push_back({k, KeyName(k)});
        }
    }
    for (const DrawnKey& drawn : StandardKeyLayout()) {
        // The Windows key itself is what the lock is for; another key made to send it is not.
        const bool remapped = kDefaultStandardKeys[drawn.index] != key.usage;
        if (drawn.onKeyboard && remapped && profile.standardkey[drawn.index] == key.usage) {
            senders.push_back({-1, drawn.name});
        }
    }
    return senders;
}

void LockedWindowsKeys(const ProfileRecord& profile, int p, std::vector<KeyConflict>& found) {
    for (const WindowsKey& key : kWindowsKeys) {
        if (profile.*key.lock != 1) continue;
        for (const auto& [k, sender] : SendersOf(profile, key)) {
            found.push_back({KeyConflict::Kind::kLockedWindowsKey, p, k,
                             ProfileName(p) + ": " + sender + " sends " + KeyCode(key.usage).name +
                                 ", which this profile locks: the keyboard will swallow it"});
        }
    }
}

void SameCodes(const ProfileRecord& profile, int p, std::vector<KeyConflict>& found) {
    const auto& layout = StandardKeyLayout();
    for (int a = 0; a < kStandardKeyCount; ++a) {
        // Code 0 sends nothing: keys switched off do not clash.
        if (!layout[a].onKeyboard || profile.standardkey[a] == 0) continue;
        for (int b = a + 1; b < kStandardKeyCount; ++b) {
            if (!layout[b].onKeyboard || profile.standardkey[a] != profile.standardkey[b]) continue;
            found.push_back({KeyConflict::Kind::kSameCode, p, a,
                             ProfileName(p) + ": " + layout[a].name + " and " + layout[b].name + " both send " +
                                 KeyCode(profile.standardkey[a]).name});
        }
    }
}

void EntryProblems(const ProfileRecord& profile, int p, const FileExists& fileExists, std::vector<KeyConflict>& found) {
    for (int k = 0; k < kKeyEntryCount; ++k) {
        const MacroKeyInfo& entry = profile.MacroKeyInfo[k];
        if (entry.FunctionType == kFunctionMacro && entry.ActionCount > kMaxMacroActions) {
            found.push_back({KeyConflict::Kind::kTooManyActions, p, k,
                             ProfileName(p) + ": " + KeyName(k) + "'s macro claims " + std::to_string(entry.ActionCount) +
                                 " actions; a key holds at most " + std::to_string(kMaxMacroActions)});
        }
        if (entry.FunctionType != kFunctionLaunchProgram) continue;
        const std::string path(entry.ProgramPath, strnlen(entry.ProgramPath, sizeof entry.ProgramPath));
        if (path.empty() || !fileExists || !fileExists(path)) {
            found.push_back({KeyConflict::Kind::kMissingProgram, p, k,
                             ProfileName(p) + ": " + KeyName(k) + " starts \"" + path + "\", which does not exist"});
        }
    }
}

}  // namespace

std::vector<KeyConflict> FindKeyConflicts(const ProfileRecord& profile, int index, const FileExists& fileExists) {
    std::vector<KeyConflict> found;
    LockedWindowsKeys(profile, index, found);
    SameCodes(profile, index, found);
    EntryProblems(profile, index, fileExists, found);
    return found;
}

std::vector<KeyConflict> NewKeyConflicts(const StateRecord& loaded, const StateRecord& applied,
                                         const std::vector<int>& editedProfiles, const FileExists& fileExists) {
    // Each path is looked up once: the loaded and the applied profile name mostly the same files,
    // and a look-up on a share that does not answer is slow.
    std::vector<std::pair<std::string, bool>> known;
    const FileExists once = [&](const std::string& path) {
        for (const auto& [seen, there] : known) {
            if (seen == path) return there;
        }
        const bool there = fileExists && fileExists(path);
        known.emplace_back(path, there);
        return there;
    };
    std::vector<KeyConflict> found;
    for (const int p : editedProfiles) {
        if (!IsProfileIndex(p)) continue;
        const std::vector<KeyConflict> before = FindKeyConflicts(loaded.Profiles[p], p, once);
        for (KeyConflict& conflict : FindKeyConflicts(applied.Profiles[p], p, once)) {
            const bool seen = std::any_of(before.begin(), before.end(),
                                          [&](const KeyConflict& old) { return old.text == conflict.text; });
            if (!seen) found.push_back(std::move(conflict));
        }
    }
    return found;
}

}  // namespace brenik::option
