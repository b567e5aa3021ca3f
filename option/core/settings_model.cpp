#include "settings_model.h"

#include "edit_history.h"
#include "item_value.h"

#include <algorithm>
#include <cstring>

namespace brenik::option {
namespace {

using editing::ProfileField;
using editing::ValueKind;

std::unique_ptr<StateRecord> EmptyRecord() {
    auto record = std::make_unique<StateRecord>();
    std::memset(record.get(), 0, sizeof *record);
    record->CurrentProfile = -1;
    return record;
}

// The table's own row for field: an EditItem names a field by its row, so that the same field
// is the same item however the caller came by it.
const ProfileField* TableRow(const ProfileField& field) {
    for (const ProfileField& row : editing::ProfileFields()) {
        if (&row == &field) return &row;
    }
    return editing::FindProfileField(field.name == nullptr ? "" : field.name);
}

bool Contains(const std::vector<EditItem>& items, const EditItem& item) {
    return std::find(items.begin(), items.end(), item) != items.end();
}

void Remove(std::vector<EditItem>& items, const EditItem& item) {
    items.erase(std::remove(items.begin(), items.end(), item), items.end());
}

// The text ParseFieldValue takes for a number, so that a number is checked as typed text is.
std::string IntegerAsText(const ProfileField& field, std::int32_t value) {
    if (field.kind == ValueKind::kChoice && value >= field.low && value <= field.high) return field.choices[value];
    return std::to_string(value);
}

}  // namespace

// Four records, each on the heap (a StateRecord is 424 KiB): the block as loaded, the values of
// the edits and of the pending edits (only their items' values count), and what is shown.
struct SettingsModel::State {
    std::unique_ptr<StateRecord> loaded = EmptyRecord();
    std::unique_ptr<StateRecord> edited = EmptyRecord();
    std::unique_ptr<StateRecord> pendingValues = EmptyRecord();
    std::unique_ptr<StateRecord> shown = EmptyRecord();
    std::vector<EditItem> edits;    // in the order first edited
    std::vector<EditItem> pending;  // sent, not yet answered
    bool loadedOnce = false;
    bool sending = false;
    EditHistory history;
    int grouping = 0;  // OneStep scopes open
    EditStep group;    // what they changed so far

    // Makes `change` on the given items as one step of the history: their shown values before and
    // after, the items it left as they were dropped.
    template <typename Change>
    void AsStep(const std::vector<EditItem>& items, bool typing, Change change) {
        std::vector<std::vector<std::uint8_t>> before;
        std::vector<bool> wasEdit;
        before.reserve(items.size());
        for (const EditItem& item : items) {
            before.push_back(ItemBytes(item, *shown));
            wasEdit.push_back(Contains(edits, item));
        }
        change();
        EditStep step;
        for (std::size_t i = 0; i < items.size(); ++i) {
            std::vector<std::uint8_t> after = ItemBytes(items[i], *shown);
            if (after != before[i]) step.push_back({items[i], std::move(before[i]), std::move(after), wasEdit[i]});
        }
        if (grouping == 0) {
            history.Record(std::move(step), typing);
            return;
        }
        for (ItemChange& change : step) AddToGroup(std::move(change));
    }

    // An item the group changed already keeps its first value before and takes the new after.
    void AddToGroup(ItemChange change) {
        for (ItemChange& held : group) {
            if (held.item == change.item) {
                held.after = std::move(change.after);
                return;
            }
        }
        group.push_back(std::move(change));
    }

    void EndGroup() {
        if (--grouping > 0) return;
        EditStep step;
        for (ItemChange& change : group) {
            if (change.after != change.before) step.push_back(std::move(change));
        }
        group.clear();
        history.Record(std::move(step), false);
    }

    // Puts the items of a step back to one side of it, as edits (rule 2 decides whether each is one).
    // Undoing the step that made an item an edit: when the block now holds what the step made
    // (it was applied), the value before it comes back as an edit to apply; when the keyboard or
    // the monitor set something else since, the edit just goes, and their value shows rather than
    // the one the step once replaced.
    void Restore(const EditStep& step, bool toBefore) {
        for (const ItemChange& change : step) {
            const bool applied = ItemBytes(change.item, Base(change.item)) == change.after;
            if (toBefore && !change.beforeWasEdit && !applied) CopyItemValue(change.item, Base(change.item), *edited);
            else PutItemBytes(change.item, toBefore ? change.before : change.after, *edited);
            Settle(change.item);
        }
    }

    // What the item shows without the user's edit: its pending value, else the loaded one.
    const StateRecord& Base(const EditItem& item) const { return Contains(pending, item) ? *pendingValues : *loaded; }

    // Rule 2: the item's value in `edited` is an edit only while it differs from its base.
    void Settle(const EditItem& item) {
        const bool differs = !SameItemValue(item, *edited, Base(item));
        if (differs && !Contains(edits, item)) edits.push_back(item);
        if (!differs) Remove(edits, item);
        CopyItemValue(item, differs ? *edited : Base(item), *shown);
    }

    void DropEditsEqualToBase() {
        edits.erase(std::remove_if(edits.begin(), edits.end(),
                                   [this](const EditItem& item) { return SameItemValue(item, *edited, Base(item)); }),
                    edits.end());
    }

    void Rebuild() {
        *shown = *loaded;
        for (const EditItem& item : pending) CopyItemValue(item, *pendingValues, *shown);
        for (const EditItem& item : edits) CopyItemValue(item, *edited, *shown);
    }
};

SettingsModel::SettingsModel() : state_(std::make_unique<State>()) {}
SettingsModel::~SettingsModel() = default;

void SettingsModel::Load(const StateRecord& block) {
    *state_->loaded = block;
    state_->edits.clear();
    state_->history.Clear();
    state_->loadedOnce = true;
    state_->Rebuild();
}

bool SettingsModel::Loaded() const { return state_->loadedOnce; }

std::vector<EditItem> SettingsModel::Refresh(const StateRecord& block) {
    std::vector<EditItem> changed;
    for (const EditItem& item : state_->edits) {
        if (!SameItemValue(item, *state_->loaded, block)) changed.push_back(item);
    }
    *state_->loaded = block;
    state_->loadedOnce = true;
    // The keyboard may have set what the user set: then there is no edit left to mark.
    state_->DropEditsEqualToBase();
    changed.erase(std::remove_if(changed.begin(), changed.end(),
                                 [this](const EditItem& item) { return !Contains(state_->edits, item); }),
                  changed.end());
    state_->Rebuild();
    return changed;
}

const StateRecord& SettingsModel::Shown() const { return *state_->shown; }

const ProfileRecord& SettingsModel::ShownProfile(int profile) const {
    // Callers pass 0..4; anything else gets the first profile rather than memory past the record.
    return state_->shown->Profiles[IsProfileIndex(profile) ? profile : 0];
}

int SettingsModel::ShownCurrentProfile() const {
    const std::int32_t current = state_->shown->CurrentProfile;
    return IsProfileIndex(current) ? current : -1;
}

std::string SettingsModel::ShownText(int profile, const ProfileField& field) const {
    if (!IsProfileIndex(profile)) return {};
    const ProfileRecord& record = state_->shown->Profiles[profile];
    if (field.kind == ValueKind::kText) return editing::FieldText(field, record);
    return editing::FormatFieldValue(field, record);
}

std::int32_t SettingsModel::ShownInteger(int profile, const ProfileField& field) const {
    if (!IsProfileIndex(profile) || field.kind == ValueKind::kText) return 0;
    return state_->shown->Profiles[profile].*field.integer;
}

bool SettingsModel::IsEdited(const EditItem& item) const { return Contains(state_->edits, item); }
bool SettingsModel::IsPending(const EditItem& item) const { return Contains(state_->pending, item); }

bool SettingsModel::SetField(int profile, const ProfileField& field, std::string_view text, std::string& error) {
    const ProfileField* row = TableRow(field);
    if (row == nullptr) {
        error = std::string(field.name == nullptr ? "?" : field.name) + ": not a field of a profile";
        return false;
    }
    if (!IsProfileIndex(profile)) {
        error = std::string(row->name) + ": there is no profile " + std::to_string(profile + 1);
        return false;
    }
    if (!row->editable) {
        error = std::string(row->name) + ": cannot be changed here; it keeps what the keyboard and the monitor hold";
        return false;
    }
    const auto value = editing::ParseFieldValue(*row, text, error);
    if (!value) return false;
    const EditItem item = EditItem::Field(profile, *row);
    state_->AsStep({item}, row->kind == ValueKind::kText, [&] {
        editing::StoreFieldValue(*row, *value, state_->edited->Profiles[profile]);
        state_->Settle(item);
    });
    return true;
}

bool SettingsModel::SetInteger(int profile, const ProfileField& field, std::int32_t value, std::string& error) {
    if (field.kind == ValueKind::kText) {
        error = std::string(field.name) + ": takes text, not a number";
        return false;
    }
    return SetField(profile, field, IntegerAsText(field, value), error);
}

void SettingsModel::SetCurrentProfile(int profile) {
    if (!IsProfileIndex(profile)) return;
    state_->AsStep({EditItem::CurrentProfile()}, false, [&] {
        state_->edited->CurrentProfile = profile;
        state_->Settle(EditItem::CurrentProfile());
    });
}

void SettingsModel::CopySection(Section section, int from, int to) {
    if (!IsProfileIndex(from) || !IsProfileIndex(to) || from == to) return;
    // No section holds a text (all leaves the name, game and picture), so every value is copied
    // whole, as the profile `from` shows it.
    // A copy of the source first: the source is the shown record, which the copy changes.
    const auto source = std::make_unique<ProfileRecord>(state_->shown->Profiles[from]);
    ReplaceItems(SectionItems(section, to), *source, to);
}

void SettingsModel::ReplaceItems(const std::vector<EditItem>& items, const ProfileRecord& source, int to) {
    state_->AsStep(items, false, [&] {
        for (const EditItem& item : items) {
            CopyProfileItem(item, source, state_->edited->Profiles[to]);
            state_->Settle(item);
        }
    });
}

void SettingsModel::ReplaceProfile(int profile, const ProfileRecord& from) {
    if (!IsProfileIndex(profile)) return;
    // Every field, those the window does not edit too (a file's lighting option, Fn status), so
    // the window imports a file as the settings tool does; the live layer is the keyboard's.
    std::vector<EditItem> items;
    for (const ProfileField& field : editing::ProfileFields()) {
        if (field.kind == ValueKind::kText || field.integer != &ProfileRecord::ExtendedMode) {
            items.push_back(EditItem::Field(profile, field));
        }
    }
    items.push_back(EditItem::StandardKeys(profile));
    for (int key = 0; key < kKeyEntryCount; ++key) items.push_back(EditItem::KeyEntry(profile, key));
    ReplaceItems(items, from, profile);
}

void SettingsModel::SetStandardKeys(int profile, const std::uint8_t (&keys)[kStandardKeyCount]) {
    if (!IsProfileIndex(profile)) return;
    state_->AsStep({EditItem::StandardKeys(profile)}, false, [&] {
        std::memcpy(state_->edited->Profiles[profile].standardkey, keys, sizeof keys);
        state_->Settle(EditItem::StandardKeys(profile));
    });
}

void SettingsModel::SetKeyEntry(int profile, int key, const MacroKeyInfo& entry, bool typed) {
    if (!IsProfileIndex(profile) || key < 0 || key >= kKeyEntryCount) return;
    state_->AsStep({EditItem::KeyEntry(profile, key)}, typed, [&] {
        state_->edited->Profiles[profile].MacroKeyInfo[key] = entry;
        state_->Settle(EditItem::KeyEntry(profile, key));
    });
}

SettingsModel::OneStep::OneStep(SettingsModel& model) : model_(model) { ++model_.state_->grouping; }
SettingsModel::OneStep::~OneStep() { model_.state_->EndGroup(); }

bool SettingsModel::CanUndo() const { return state_->history.NextUndo() != nullptr; }
bool SettingsModel::CanRedo() const { return state_->history.NextRedo() != nullptr; }

bool SettingsModel::Undo() {
    const EditStep step = state_->history.TakeUndo();
    state_->Restore(step, true);
    return !step.empty();
}

bool SettingsModel::Redo() {
    const EditStep step = state_->history.TakeRedo();
    state_->Restore(step, false);
    return !step.empty();
}

namespace {

// "key 5 = macro ..." for one item, "3 settings of profile 2" for more.
std::string DescribeStep(const EditStep* step, bool before) {
    if (step == nullptr || step->empty()) return {};
    if (step->size() > 1) {
        return std::to_string(step->size()) + " settings of profile " + std::to_string(step->front().item.profile + 1);
    }
    const ItemChange& change = step->front();
    auto values = std::make_unique<StateRecord>();
    PutItemBytes(change.item, before ? change.before : change.after, *values);
    return DescribeItemValue(change.item, *values);
}

}  // namespace

std::string SettingsModel::UndoText() const { return DescribeStep(state_->history.NextUndo(), false); }
std::string SettingsModel::RedoText() const { return DescribeStep(state_->history.NextRedo(), false); }

bool SettingsModel::HasEdits() const { return !state_->edits.empty(); }
std::vector<EditItem> SettingsModel::Edits() const { return state_->edits; }

void SettingsModel::Discard() {
    state_->edits.clear();
    state_->history.Clear();
    state_->Rebuild();
}

editing::ProfileEdit SettingsModel::ApplyEdit() const {
    // The edit carries its own copy of the values: the user may type on while it waits for the
    // block's lock.
    auto values = std::make_shared<const StateRecord>(*state_->edited);
    const std::vector<EditItem> items = state_->edits;

    editing::ProfileEdit edit;
    edit.apply = [values, items](StateRecord& record) {
        for (const EditItem& item : items) CopyItemValue(item, *values, record);
    };
    const bool switches = Contains(items, EditItem::CurrentProfile());
    const auto firstProfileItem = std::find_if(items.begin(), items.end(), [](const EditItem& item) {
        return item.kind != EditItem::Kind::kCurrentProfile;
    });
    if (firstProfileItem != items.end()) edit.profile = firstProfileItem->profile;
    else if (switches) edit.profile = values->CurrentProfile;
    else edit.profile = std::max(ShownCurrentProfile(), 0);
    // As a switch of the settings tool: the keyboard is told of the chosen profile even if the
    // block took the same index meanwhile.
    edit.forceProfileFlag = switches;
    edit.setsCurrent = switches && firstProfileItem == items.end();
    for (const EditItem& item : items) {
        if (!edit.what.empty()) edit.what += "; ";
        edit.what += DescribeItemValue(item, *values);
    }
    return edit;
}

std::unique_ptr<StateRecord> SettingsModel::Preview() const {
    auto preview = std::make_unique<StateRecord>(*state_->loaded);
    ApplyEdit().apply(*preview);
    return preview;
}

const StateRecord& SettingsModel::LoadedRecord() const { return *state_->loaded; }

void SettingsModel::Sent() {
    for (const EditItem& item : state_->edits) {
        CopyItemValue(item, *state_->edited, *state_->pendingValues);
        if (!Contains(state_->pending, item)) state_->pending.push_back(item);
    }
    state_->edits.clear();
    state_->sending = true;
}

std::vector<EditItem> SettingsModel::Answered(const StateRecord& block) {
    std::vector<EditItem> lost;
    for (const EditItem& item : state_->pending) {
        if (SameItemValue(item, *state_->pendingValues, block)) continue;
        // An edit typed since the apply is newer than what was lost; it stays as it is.
        if (Contains(state_->edits, item)) continue;
        CopyItemValue(item, *state_->pendingValues, *state_->edited);
        state_->edits.push_back(item);
        lost.push_back(item);
    }
    state_->pending.clear();
    state_->sending = false;
    *state_->loaded = block;
    state_->DropEditsEqualToBase();
    state_->Rebuild();
    return lost;
}

bool SettingsModel::IsSending() const { return state_->sending; }

}  // namespace brenik::option
