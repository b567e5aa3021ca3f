#include "apply_review.h"

#include "change_flags.h"
#include "key_assignment.h"
#include "key_code_catalogue.h"
#include "keyboard_layout.h"
#include "profile_fields.h"

#include <cstring>
#include <memory>

namespace brenik::option {
namespace {

using editing::FlagGroup;
using editing::ProfileField;

// The reports of the monitor's apply, by the id the keyboard receives.
constexpr int kReportCurrentProfile = 5;
constexpr int kReportStandardKeys = 6;
constexpr int kReportLockedKeys = 7;
constexpr int kReportLighting = 11;
constexpr int kReportSyncToken = 17;
constexpr int kReportMacro = 20;
constexpr int kReportLaunchEntry = 74;

// The three key blocks: their report and first and last key entry.
struct KeyBlock {
    int report;
    int first;
    int last;
};
constexpr KeyBlock kKeyBlocks[] = {{8, 0, 11}, {9, 12, 21}, {19, 37, 41}};

std::string ProfileName(int p) { return "Profile " + std::to_string(p + 1); }
std::string KeyName(int p, int k) { return ProfileName(p) + ", key " + std::to_string(k + 1); }
std::string Report(int id) { return " (report " + std::to_string(id) + ")"; }

// A macro by its name and length: its actions could fill a page.
std::string Describe(const MacroKeyInfo& entry) {
    if (entry.FunctionType != kFunctionMacro) return editing::DescribeKeyAssignment(entry);
    return "macro \"" + std::string(entry.MacroName, strnlen(entry.MacroName, sizeof entry.MacroName)) + "\", " +
           std::to_string(entry.ActionCount) + (entry.ActionCount == 1 ? " action" : " actions");
}

class Review {
public:
    Review(const StateRecord& before, const StateRecord& after) : before_(before), flagged_(std::make_unique<StateRecord>(after)) {
        editing::SetFlagsOfDifferences(before, *flagged_, editing::FlagMode::kReplace);
    }

    // In the order of the monitor's apply: current profile, key maps, locked keys, key blocks,
    // macros, lighting, launch entries, the token; then what stays in the computer.
    std::vector<ReviewLine> Lines() {
        CurrentProfile();
        for (int p = 0; p < kProfileCount; ++p) StandardKeys(p);
        for (int p = 0; p < kProfileCount; ++p) LockedKeys(p);
        for (const KeyBlock& block : kKeyBlocks) {
            for (int p = 0; p < kProfileCount; ++p) Block(p, block);
        }
        for (int p = 0; p < kProfileCount; ++p) Entries(p, kFunctionMacro, kReportMacro);
        for (int p = 0; p < kProfileCount; ++p) Lighting(p);
        for (int p = 0; p < kProfileCount; ++p) Entries(p, kFunctionLaunchEntry, kReportLaunchEntry);
        for (int p = 0; p < kProfileCount; ++p) StaysInComputer(p);
        // Every apply the monitor is told of ends with a new token, whatever it sent before.
        if (!lines_.empty()) lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(reports_), TokenLine());
        return std::move(lines_);
    }

private:
    const ProfileRecord& Was(int p) const { return before_.Profiles[p]; }
    const ProfileRecord& Now(int p) const { return flagged_->Profiles[p]; }
    bool KeysTravel(int p) const { return Now(p).HDDKeyboard != 0; }
    bool KeyDiffers(int p, int k) const {
        return std::memcmp(&Was(p).MacroKeyInfo[k], &Now(p).MacroKeyInfo[k], sizeof(MacroKeyInfo)) != 0;
    }

    void Add(int profile, int key, int report, std::string text) {
        lines_.push_back({profile, key, report, std::move(text)});
        if (report != 0) reports_ = lines_.size();
    }

    void CurrentProfile() {
        if (flagged_->ProfileChanged != 1) return;
        Add(-1, -1, kReportCurrentProfile, "The current profile becomes " + ProfileName(flagged_->CurrentProfile) + Report(kReportCurrentProfile));
    }

    void StandardKeys(int p) {
        if (flagged_->StandardKeyChanged[p] == 0) return;
        std::string changed;
        for (int i = 0; i < kStandardKeyCount; ++i) {
            if (Was(p).standardkey[i] == Now(p).standardkey[i] || !StandardKeyLayout()[i].onKeyboard) continue;
            changed += changed.empty() ? ": " : ", ";
            changed += std::string(StandardKeyLayout()[i].name) + " sends " + KeyCode(Now(p).standardkey[i]).name;
        }
        // The flag sends the map even when only keys it has no place for changed.
        if (changed.empty()) changed = ", as it was: only keys it has no place for changed";
        Add(p, -1, kReportStandardKeys, ProfileName(p) + ", the key map" + changed + Report(kReportStandardKeys));
    }

    void LockedKeys(int p) {
        if (flagged_->LockKeysChanged[p] == 0) return;
        std::string changed;
        for (const ProfileField& field : editing::ProfileFields()) {
            if (field.flag != FlagGroup::kLockKeys || Was(p).*field.integer == Now(p).*field.integer) continue;
            changed += changed.empty() ? ": " : ", ";
            changed += std::string(field.name) + (Now(p).*field.integer == 1 ? " locked" : " free");
        }
        Add(p, -1, kReportLockedKeys, ProfileName(p) + ", the locked keys" + changed + Report(kReportLockedKeys));
    }

    void Block(int p, const KeyBlock& block) {
        if (!KeysTravel(p)) return;
        std::string changed;
        for (int k = block.first; k <= block.last; ++k) {
            if (flagged_->KeyChanged[p][k] != 1) continue;
            changed += changed.empty() ? ": " : "; ";
            changed += "key " + std::to_string(k + 1) + " " + editing::KeyAssignmentKind(Now(p).MacroKeyInfo[k]);
        }
        if (changed.empty()) return;
        Add(p, -1, block.report,
            ProfileName(p) + ", keys " + std::to_string(block.first + 1) + " to " + std::to_string(block.last + 1) + changed +
                Report(block.report));
    }

    void Entries(int p, std::uint8_t function, int report) {
        if (!KeysTravel(p)) return;
        for (int k = 0; k < kProgrammableKeys; ++k) {
            const MacroKeyInfo& entry = Now(p).MacroKeyInfo[k];
            if (flagged_->KeyChanged[p][k] != 1 || entry.FunctionType != function) continue;
            if (entry.FunctionType == kFunctionMacro && entry.ActionCount > kMaxMacroActions) {
                Add(p, k, 0, KeyName(p, k) + ", " + Describe(entry) + ": refused by the monitor, a key holds at most 400 actions");
                continue;
            }
            Add(p, k, report, KeyName(p, k) + ", " + Describe(entry) + Report(report));
        }
    }

    void Lighting(int p) {
        if (flagged_->LightingChanged[p] != 0) Add(p, -1, kReportLighting, ProfileName(p) + ", the lighting" + Report(kReportLighting));
    }

    // What changes and is kept by the monitor without a report, so the list names every change.
    void StaysInComputer(int p) {
        for (int i = 0; i < kStandardKeyCount; ++i) {
            if (Was(p).standardkey[i] != Now(p).standardkey[i] && !StandardKeyLayout()[i].onKeyboard) {
                Add(p, -1, 0, ProfileName(p) + ", " + StandardKeyLayout()[i].name + " sends " + KeyCode(Now(p).standardkey[i]).name +
                                  ": kept in the profile, the keyboard's key map has no place for it");
            }
        }
        for (int k = 0; k < kKeyEntryCount; ++k) {
            if (KeyDiffers(p, k)) KeyStaying(p, k);
        }
        std::string fields;
        for (const ProfileField& field : editing::ProfileFields()) {
            if (field.flag != FlagGroup::kNone || !field.editable || SameField(field, p)) continue;
            if (std::strcmp(field.name, "key-assignments") == 0) continue;  // said with the keys
            fields += fields.empty() ? "" : ", ";
            fields += field.name;
        }
        if (!fields.empty()) Add(p, -1, 0, ProfileName(p) + ", " + fields + ": kept by the monitor");
        if (Was(p).HDDKeyboard != 0 && Now(p).HDDKeyboard == 0) {
            Add(p, -1, 0, ProfileName(p) + ": key assignments stay in the computer from now on");
        }
    }

    void KeyStaying(int p, int k) {
        const MacroKeyInfo& entry = Now(p).MacroKeyInfo[k];
        const std::string what = KeyName(p, k) + ", " + Describe(entry) + ": ";
        if (k >= kProgrammableKeys) {
            Add(p, k, 0, what + "kept in the profile, the keyboard has no such key");
        } else if (!KeysTravel(p)) {
            Add(p, k, 0, what + "kept in the computer, this profile's key assignments are not sent");
        } else if (!editing::HasKeyBlock(k) && entry.FunctionType != kFunctionMacro && entry.FunctionType != kFunctionLaunchEntry) {
            Add(p, k, 0, what + "no key block carries this key, the keyboard does not receive it");
        }
    }

    bool SameField(const ProfileField& field, int p) const {
        if (field.kind != editing::ValueKind::kText) return Was(p).*field.integer == Now(p).*field.integer;
        return editing::FieldText(field, Was(p)) == editing::FieldText(field, Now(p));
    }

    const StateRecord& before_;
    std::unique_ptr<StateRecord> flagged_;
    std::vector<ReviewLine> lines_;
    std::size_t reports_ = 0;  // the lines that send a report come first; the token follows them
};

}  // namespace

ReviewLine TokenLine() {
    return {-1, -1, kReportSyncToken, "A new sync token, so the monitor knows the keyboard holds this" + Report(kReportSyncToken)};
}

std::vector<ReviewLine> ReviewApply(const StateRecord& before, const StateRecord& after) { return Review(before, after).Lines(); }

}  // namespace brenik::option
