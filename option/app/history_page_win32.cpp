#include "history_page_win32.h"

#include "ansi_text_win32.h"
#include "copy_differences.h"
#include "copy_restore.h"
#include "history_folder.h"
#include "ini_storage.h"
#include "option_resources.h"
#include "option_strings_win32.h"
#include "peer_messages.h"

#include <commctrl.h>

#include <algorithm>

namespace brenik::option {
namespace {

enum Column { kWhen, kWhy, kDiffers };
constexpr int kBytesPerMegabyte = 1024 * 1024;

// Places in dialog units, as option.rc lays the page out.
constexpr int kMargin = 4;
constexpr int kListTop = 14;
constexpr int kButtonWidth = 70;
constexpr int kButtonHeight = 14;
constexpr int kWhereHeight = 16;  // two lines
constexpr int kColumnGap = 6;     // between one column's longest line and the next column

UINT ReasonText(history::HistoryReason reason) {
    switch (reason) {
        case history::HistoryReason::kReadBack: return IDS_HISTORY_REASON_READ_BACK;
        case history::HistoryReason::kImport: return IDS_HISTORY_REASON_IMPORT;
        case history::HistoryReason::kRestore: return IDS_HISTORY_REASON_RESTORE;
        case history::HistoryReason::kDaily: return IDS_HISTORY_REASON_DAILY;
    }
    return IDS_HISTORY_REASON_DAILY;
}

void InsertColumn(HWND list, int index, UINT title) {
    const std::wstring text = Text(title);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<wchar_t*>(text.c_str());
    column.cx = 100;  // sized to the lines when they are filled in
    column.iSubItem = index;
    ListView_InsertColumn(list, index, &column);
}

void SetCell(HWND list, int row, int column, const std::wstring& text) {
    ListView_SetItemText(list, row, column, const_cast<wchar_t*>(text.c_str()));
}

}  // namespace

HistoryPage::HistoryPage(PageContext& context)
    : SettingsPage(context, IDD_PAGE_HISTORY, IDS_PAGE_HISTORY),
      history_(context.programFolder, ini::SystemIniStorage(), history::SystemHistoryFolder()) {}

void HistoryPage::OnInit() {
    const HWND list = GetDlgItem(window_, IDC_HISTORY_LIST);
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP);
    InsertColumn(list, kWhen, IDS_HISTORY_COLUMN_WHEN);
    InsertColumn(list, kWhy, IDS_HISTORY_COLUMN_WHY);
    InsertColumn(list, kDiffers, IDS_HISTORY_COLUMN_DIFFERS);
    SetDlgItemTextW(window_, IDC_HISTORY_WHERE,
                    Format(IDS_HISTORY_WHERE, WideFromAnsi(history_.Folder()).c_str(), history::kMaxCopies,
                           static_cast<int>(history::kMaxBytes / kBytesPerMegabyte))
                        .c_str());
    EnableWindow(GetDlgItem(window_, IDC_HISTORY_RESTORE), FALSE);
}

void HistoryPage::WindowOpened() {
    if (notice_.Opened(history_.List(1), history::HistoryTimeNow().utcSeconds)) {
        context_.say(context_.status() + L" " + Text(IDS_STATUS_READ_BACK_KEPT));
    }
}

void HistoryPage::Shown() { Fill(); }

void HistoryPage::MonitorSaid(UINT message) {
    if (message == kMsgSyncDone) {
        // The monitor keeps a copy before the keyboard's settings are read back over the files.
        if (notice_.SyncDone(history_.List(1))) context_.say(Text(IDS_STATUS_READ_BACK_KEPT));
    }
    if (message == kMsgEnableButtons && !restoring_.empty() && !context_.sending()) {
        SayRestored();
        restoring_.clear();
    }
    if (window_ != nullptr && IsWindowVisible(window_)) Fill();
}

HistoryPage::Row HistoryPage::MakeRow(history::HistoryEntry entry) const {
    Row row;
    row.when = WideFromAnsi(entry.damaged ? entry.file : entry.copy.when.local);
    if (entry.damaged) {
        row.differs = Format(IDS_HISTORY_DAMAGED, WideFromAnsi(entry.error).c_str());
    } else {
        // Against the block as last read: what a restore would change on the keyboard.
        const history::CopyDifferences differences = history::DifferencesFromNow(entry.copy, context_.model.LoadedRecord());
        row.restorable = differences.error.empty();
        row.differs = row.restorable ? WideFromAnsi(differences.Text())
                                     : Format(IDS_HISTORY_DAMAGED, WideFromAnsi(differences.error).c_str());
    }
    row.entry = std::move(entry);
    return row;
}

void HistoryPage::Fill() {
    if (window_ == nullptr) return;
    const Row* selected = Selected();
    const std::string keep = selected != nullptr ? selected->entry.file : std::string();
    rows_.clear();
    for (history::HistoryEntry& entry : history_.List()) rows_.push_back(MakeRow(std::move(entry)));

    const HWND list = GetDlgItem(window_, IDC_HISTORY_LIST);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(list);
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const Row& row = rows_[i];
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = static_cast<int>(i);
        item.pszText = const_cast<wchar_t*>(row.when.c_str());
        item.lParam = static_cast<LPARAM>(i);
        const int at = ListView_InsertItem(list, &item);
        SetCell(list, at, kWhy, row.entry.damaged ? std::wstring() : Text(ReasonText(row.entry.copy.reason)));
        SetCell(list, at, kDiffers, row.differs);
        if (!keep.empty() && row.entry.file == keep) {
            ListView_SetItemState(list, at, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        }
    }
    SizeColumns();
    SetDlgItemTextW(window_, IDC_HISTORY_LABEL, Text(rows_.empty() ? IDS_HISTORY_EMPTY : IDS_HISTORY_LABEL).c_str());
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    UpdateRestoreButton();
}

// When and Why as wide as their longest line; what differs takes the rest, or its longest line
// (the list then scrolls sideways rather than cutting it).
void HistoryPage::SizeColumns() {
    const HWND list = GetDlgItem(window_, IDC_HISTORY_LIST);
    RECT gap{0, 0, kColumnGap, 0};
    MapDialogRect(window_, &gap);
    for (const int column : {kWhen, kWhy}) {
        ListView_SetColumnWidth(list, column, LVSCW_AUTOSIZE_USEHEADER);
        ListView_SetColumnWidth(list, column, ListView_GetColumnWidth(list, column) + gap.right);
    }
    ListView_SetColumnWidth(list, kDiffers, LVSCW_AUTOSIZE);
    const int longest = ListView_GetColumnWidth(list, kDiffers);
    ListView_SetColumnWidth(list, kDiffers, LVSCW_AUTOSIZE_USEHEADER);
    const int rest = ListView_GetColumnWidth(list, kDiffers);
    ListView_SetColumnWidth(list, kDiffers, std::max(longest, rest));
}

void HistoryPage::OnSize() {
    if (GetDlgItem(window_, IDC_HISTORY_LIST) == nullptr) return;
    RECT client{};
    GetClientRect(window_, &client);
    RECT units{kMargin, kListTop, kButtonWidth, kButtonHeight};
    MapDialogRect(window_, &units);
    RECT where{0, 0, 0, kWhereHeight};
    MapDialogRect(window_, &where);
    const int margin = units.left;
    const int width = std::max(1L, client.right - 2 * margin);
    const int bottomY = client.bottom - margin - std::max(where.bottom, units.bottom);
    SetWindowPos(GetDlgItem(window_, IDC_HISTORY_LABEL), nullptr, margin, margin, width, units.top - margin - 2,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(GetDlgItem(window_, IDC_HISTORY_LIST), nullptr, margin, units.top, width,
                 std::max(1L, static_cast<LONG>(bottomY - margin - units.top)), SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(GetDlgItem(window_, IDC_HISTORY_WHERE), nullptr, margin, bottomY,
                 std::max(1L, static_cast<LONG>(width - units.right - margin)), where.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(GetDlgItem(window_, IDC_HISTORY_RESTORE), nullptr, client.right - margin - units.right, bottomY,
                 units.right, units.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
    if (!rows_.empty()) SizeColumns();
}

const HistoryPage::Row* HistoryPage::Selected() const {
    if (window_ == nullptr) return nullptr;
    const HWND list = GetDlgItem(window_, IDC_HISTORY_LIST);
    const int at = ListView_GetNextItem(list, -1, LVNI_SELECTED);
    if (at < 0) return nullptr;
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = at;
    if (!ListView_GetItem(list, &item) || item.lParam < 0 || static_cast<std::size_t>(item.lParam) >= rows_.size()) {
        return nullptr;
    }
    return &rows_[static_cast<std::size_t>(item.lParam)];
}

void HistoryPage::UpdateRestoreButton() {
    const Row* row = Selected();
    EnableWindow(GetDlgItem(window_, IDC_HISTORY_RESTORE), row != nullptr && row->restorable);
}

bool HistoryPage::OnOwnCommand(WORD id, WORD /*code*/) {
    if (id != IDC_HISTORY_RESTORE) return false;
    Restore();
    return true;
}

bool HistoryPage::OnNotify(const NMHDR& header) {
    if (header.idFrom != IDC_HISTORY_LIST) return false;
    if (header.code == LVN_ITEMCHANGED) {
        UpdateRestoreButton();
        return true;
    }
    return false;
}

bool HistoryPage::Confirmed(const Row& row) const {
    std::wstring question = Format(IDS_CONFIRM_HISTORY_RESTORE, row.when.c_str(),
                                   Text(ReasonText(row.entry.copy.reason)).c_str());
    if (context_.model.HasEdits()) question += Text(IDS_CONFIRM_HISTORY_EDITS);
    return MessageBoxW(window_, question.c_str(), Text(IDS_TITLE).c_str(), MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) ==
           IDYES;
}

// The profiles as they are now are kept first, then the copy's become the user's edits as one
// step, and the window's Apply sends them like any other edit.
void HistoryPage::Restore() {
    const Row* selected = Selected();
    if (selected == nullptr || !selected->restorable) return;
    if (context_.sending()) {
        context_.say(Text(IDS_STATUS_HISTORY_WAIT));
        return;
    }
    const Row row = *selected;  // the list is filled again below
    if (!Confirmed(row)) return;
    // A copy that cannot be kept is said, and the restore the user asked for goes on.
    notKept_ = history_.Keep(history::HistoryReason::kRestore, history::HistoryTimeNow()) == history::KeepOutcome::kFailed;
    std::string error;
    if (!RestoreCopy(context_.model, row.entry.copy, error)) {
        context_.say(Format(IDS_STATUS_HISTORY_REFUSED, WideFromAnsi(error).c_str()));
        Fill();
        return;
    }
    context_.replaced();
    context_.apply();
    restoring_ = row.when;
    SayRestored();
    if (!context_.sending()) restoring_.clear();  // not sent (no monitor, nothing differs): said already
    Fill();
}

void HistoryPage::SayRestored() {
    std::wstring said = Format(IDS_STATUS_HISTORY_RESTORED, restoring_.c_str()) + L" " + context_.status();
    if (notKept_) said += L" " + Text(IDS_STATUS_HISTORY_NOT_KEPT);
    context_.say(said);
}

}  // namespace brenik::option
