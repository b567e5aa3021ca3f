#pragma once
// The "History" page: the dated copies of the profile files the history keeps
// (shared/profile-history), newest first, each with when and why it was kept and what differs
// from the profiles as last read from the block, and "Restore this", which keeps the profiles
// as they are now, makes the copy's profiles the user's edits as one step and applies them.
// The page also says when the keyboard's settings were read back over the profiles, since the
// ones before are kept here.

#include "profile_history.h"
#include "read_back_notice.h"
#include "settings_page_win32.h"

#include <string>
#include <vector>

namespace brenik::option {

class HistoryPage final : public SettingsPage {
public:
    explicit HistoryPage(PageContext& context);
    bool EditsChosenProfile() const override { return false; }

    void WindowOpened() override;
    void Shown() override;
    void MonitorSaid(UINT message) override;

private:
    // One line of the list: the copy, and whether it can be restored.
    struct Row {
        history::HistoryEntry entry;
        std::wstring when;
        std::wstring differs;
        bool restorable = false;
    };

    void OnInit() override;
    bool OnOwnCommand(WORD id, WORD code) override;
    bool OnNotify(const NMHDR& header) override;
    void OnSize() override;

    void Fill();  // the list from the history, when the page is shown
    Row MakeRow(history::HistoryEntry entry) const;
    void SizeColumns();
    const Row* Selected() const;
    void UpdateRestoreButton();
    void Restore();
    bool Confirmed(const Row& row) const;
    void SayRestored();

    history::ProfileHistory history_;
    std::vector<Row> rows_;
    ReadBackNotice notice_;
    std::wstring restoring_;  // the copy a restore sent, until the monitor's answer
    bool notKept_ = false;    // the profiles before that restore could not be kept in the history
};

}  // namespace brenik::option
