#pragma once
// What the settings program's window shows and what the user changed: the five profiles as
// last read from the shared block, the user's edits on top of them, and the edits on their
// way to the monitor. The window never keeps a value of its own; it asks the model what to
// show and hands it what the user typed.
//
// An edit is one item of one profile: a plain field of the editing core's table
// (profile_fields.h), the standard key map, or one key entry; or the current profile. Every
// value is checked by the editing core when it is typed (ParseFieldValue), so what the model
// holds can always be written.
//
// Three rules keep a user's setting from being lost:
// 1. Live updates (the keyboard changed the lighting control, the layer, the Windows key, the
//    profile) refresh what is loaded; an item the user edited keeps the user's value, and
//    Refresh names the items the keyboard changed under it, so the window can mark them.
// 2. An edit back to the loaded value is no edit: nothing is written for it.
// 3. Applied edits stay pending until the monitor answers. If the block then does not hold
//    them (the monitor published its own copy over the change before it took it), they become
//    edits again and Answered names them; the user applies once more.

#include "profile_edit.h"
#include "profile_fields.h"
#include "state_record.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brenik::option {

// One thing of a profile the user can change.
struct EditItem {
    enum class Kind { kField, kStandardKeys, kKeyEntry, kCurrentProfile };
    Kind kind = Kind::kField;
    int profile = 0;                                  // 0..4; unused for kCurrentProfile
    const editing::ProfileField* field = nullptr;     // kField: a row of ProfileFields()
    int key = 0;                                      // kKeyEntry: 0..43

    static EditItem Field(int profile, const editing::ProfileField& field);
    static EditItem StandardKeys(int profile);
    static EditItem KeyEntry(int profile, int key);
    static EditItem CurrentProfile();
    bool operator==(const EditItem& other) const;
};

// The parts of a profile a copy takes (CopySection). kAll is every setting but the three
// that say which profile it is: its name, picture and game.
enum class Section { kAll, kLighting, kKeyLocks, kSounds, kKeyRepeat, kMediaPlayer, kKeys };

// The items of a section, for profile `profile`.
std::vector<EditItem> SectionItems(Section section, int profile);

class SettingsModel {
public:
    SettingsModel();
    ~SettingsModel();

    // The block as read; a first load (or a reload after Discard) drops every edit. Pending
    // edits stay: their answer is still to come.
    void Load(const StateRecord& block);
    bool Loaded() const;

    // A live update: the block read again. Edits and pending edits stay; returns the edited
    // items whose loaded value the block changed (rule 1). An edit the block now holds itself
    // is no edit any more (rule 2), and is not returned.
    std::vector<EditItem> Refresh(const StateRecord& block);

    // ---- What to show: the user's value where there is one, else the loaded one.
    const StateRecord& Shown() const;  // the whole record as the window shows it
    const ProfileRecord& ShownProfile(int profile) const;
    int ShownCurrentProfile() const;   // -1 when none
    std::string ShownText(int profile, const editing::ProfileField& field) const;  // ANSI bytes
    std::int32_t ShownInteger(int profile, const editing::ProfileField& field) const;
    bool IsEdited(const EditItem& item) const;   // an edit not yet applied
    bool IsPending(const EditItem& item) const;  // applied, no answer yet

    // ---- Edits. A refused value changes nothing; error says why, naming the field.
    bool SetField(int profile, const editing::ProfileField& field, std::string_view text, std::string& error);
    bool SetInteger(int profile, const editing::ProfileField& field, std::int32_t value, std::string& error);
    void SetCurrentProfile(int profile);
    // Copies the section's items of `from` (as shown) onto `to`, as edits of `to`.
    void CopySection(Section section, int from, int to);
    // For the key page: a whole key map or key entry, already checked by the editing core.
    void SetStandardKeys(int profile, const std::uint8_t (&keys)[kStandardKeyCount]);
    // typed: the entry's text as it is typed (a path, a launch value), one step until another item.
    void SetKeyEntry(int profile, int key, const MacroKeyInfo& entry, bool typed = false);
    // An imported profile file: every item of the profile (its name, game and picture too) as
    // one edit, which one Undo takes back.
    void ReplaceProfile(int profile, const ProfileRecord& from);

    // ---- Undo and redo of the user's edits since the window opened. Every Set and Copy above is
    // one step (a copy or an import is one step however many items it changes; typing into one
    // field makes one step until another item is edited). Undo puts the items back as they were
    // shown before the step; back at the loaded value there is no edit (rule 2), so undoing
    // everything leaves nothing to apply. A new edit after an Undo drops the steps to redo.
    // Live updates and answers are not steps.
    // The edits made while one of these lives are one step (a colour's three parts).
    class OneStep {
    public:
        explicit OneStep(SettingsModel& model);
        ~OneStep();
        OneStep(const OneStep&) = delete;
        OneStep& operator=(const OneStep&) = delete;

    private:
        SettingsModel& model_;
    };
    bool CanUndo() const;
    bool CanRedo() const;
    bool Undo();
    bool Redo();
    // What the step to undo or redo changed, for a tooltip or the status line: "key 5 = macro".
    std::string UndoText() const;
    std::string RedoText() const;

    bool HasEdits() const;
    std::vector<EditItem> Edits() const;
    void Discard();  // every unapplied edit goes; pending ones stay

    // ---- Applying.
    // One ProfileEdit that puts every edit into the block's record, for RecordEditor. Its
    // profile is the first edited one (or the current one for a switch alone). With a switch
    // among the edits the keyboard is told of the profile, as the settings tool's switch does.
    editing::ProfileEdit ApplyEdit() const;
    // The block as last read with every edit made: what "Review changes" compares with LoadedRecord().
    std::unique_ptr<StateRecord> Preview() const;
    const StateRecord& LoadedRecord() const;
    // The edit was written: the edits become pending.
    void Sent();
    // The monitor answered (1256); block is the record read after the answer. Pending items the
    // block holds are done; those it does not hold become edits again and are returned.
    std::vector<EditItem> Answered(const StateRecord& block);
    bool IsSending() const;

private:
    void ReplaceItems(const std::vector<EditItem>& items, const ProfileRecord& source, int to);

    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace brenik::option
