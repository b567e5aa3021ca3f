#include "macro_editor_win32.h"

#include "macro_grammar.h"

#include "ansi_text_win32.h"
#include "key_code_catalogue.h"
#include "macro_player_win32.h"
#include "macro_recorder.h"
#include "macro_recording_box_win32.h"
#include "option_resources.h"
#include "option_strings_win32.h"
#include "window_procedure.h"

#include <commctrl.h>

#include <memory>
#include <optional>
#include <string>

namespace brenik::option {
namespace {

constexpr std::uint8_t kNoKey = 0x00;
constexpr UINT kLargestDelayMs = 0xFFFF;
constexpr UINT kDefaultDelayMs = 50;  // a new action's, and the fixed delay of a recording
constexpr int kNameBytes = static_cast<int>(kKeyEntryNameBytes) - 1;  // the record's field ends in a NUL

enum Column { kNumberColumn, kActionColumn, kKeyColumn, kDelayColumn };

BOOL CALLBACK SetFontOf(HWND child, LPARAM font) {
    SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
    return TRUE;
}

std::wstring ActionText(std::uint8_t event) {
    if (event == editing::kEventPress) return Text(IDS_MACRO_PRESS);
    if (event == editing::kEventRelease) return Text(IDS_MACRO_RELEASE);
    return std::to_wstring(event);
}

class MacroEditor {
public:
    MacroEditor(const Fonts& fonts, int profile, int key, MacroDraft& draft)
        : fonts_(fonts), profile_(profile), key_(key), draft_(draft), working_(draft) {}

    bool Run(HWND owner) {
        const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&controls);
        if (!RegisterRecordingBox()) return false;
        return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MACRO_EDITOR), owner,
                               win32::DialogProcedure<MacroEditor, &MacroEditor::window_, &MacroEditor::OnMessage>,
                               reinterpret_cast<LPARAM>(this)) == IDOK;
    }

private:
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
            case WM_INITDIALOG:
                OnInit();
                return TRUE;
            case WM_COMMAND:
                return OnCommand(LOWORD(wParam), HIWORD(wParam));
            case WM_NOTIFY:
                return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
            case kMsgRecordedKey:
                OnRecordedKey(*reinterpret_cast<const RecordedKey*>(lParam));
                return TRUE;
            case kMsgRecordingBoxLeft:
                OnRecordingBoxLeft(reinterpret_cast<HWND>(wParam));
                return TRUE;
            case WM_DESTROY:
                player_.reset();  // releases any key a macro being tried still holds
                return FALSE;
            default:
                return FALSE;
        }
    }

    HWND Item(int id) const { return GetDlgItem(window_, id); }

    void Say(const std::wstring& text) { SetDlgItemTextW(window_, IDC_MACRO_STATUS, text.c_str()); }

    void OnInit() {
        SetWindowTextW(window_, Format(IDS_MACRO_TITLE, key_ + 1, profile_ + 1).c_str());
        if (fonts_.normal != nullptr) EnumChildWindows(window_, SetFontOf, reinterpret_cast<LPARAM>(fonts_.normal));
        SendMessageW(Item(IDC_MACRO_NAME), EM_LIMITTEXT, kNameBytes, 0);
        SetDlgItemTextW(window_, IDC_MACRO_NAME, WideFromAnsi(working_.Name()).c_str());
        MakeColumns();
        SendMessageW(Item(IDC_MACRO_METER), PBM_SETRANGE32, 0, static_cast<LPARAM>(MacroDraft::Room()));
        for (const UINT text : {IDS_MACRO_PRESS, IDS_MACRO_RELEASE}) {
            SendMessageW(Item(IDC_MACRO_EVENT), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Text(text).c_str()));
        }
        SendMessageW(Item(IDC_MACRO_EVENT), CB_SETCURSEL, 0, 0);
        FillKeys();
        SetDlgItemInt(window_, IDC_MACRO_NEW_DELAY, kDefaultDelayMs, FALSE);
        SetDlgItemInt(window_, IDC_MACRO_FIXED_DELAY, kDefaultDelayMs, FALSE);
        for (const int id : {IDC_MACRO_DELAY, IDC_MACRO_NEW_DELAY, IDC_MACRO_FIXED_DELAY}) {
            SendMessageW(Item(id), EM_LIMITTEXT, 5, 0);
        }
        CheckRadioButton(window_, IDC_MACRO_AS_PRESSED, IDC_MACRO_FIXED, IDC_MACRO_AS_PRESSED);
        SetDlgItemTextW(window_, IDC_MACRO_RECORD, Text(IDS_MACRO_RECORD).c_str());
        player_ = std::make_unique<MacroPlayer>(Item(IDC_MACRO_TRY),
                                                [this](std::size_t played, std::size_t total) { OnPlayed(played, total); });
        ShowActions(working_.Used() > 0 ? 0 : -1);
        Say(working_.Damaged() ? Format(IDS_MACRO_DAMAGED, static_cast<int>(MacroDraft::Room()),
                                        static_cast<int>(MacroDraft::Room()))
                               : Text(IDS_MACRO_READY));
    }

    void MakeColumns() {
        const HWND list = Item(IDC_MACRO_ACTIONS);
        ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
        RECT box{};
        GetClientRect(list, &box);
        const int width = box.right - box.left - GetSystemMetrics(SM_CXVSCROLL);
        const struct {
            UINT text;
            int share;  // of 20
            int format;
        } columns[] = {{IDS_MACRO_COLUMN_NUMBER, 2, LVCFMT_RIGHT},
                       {IDS_MACRO_COLUMN_ACTION, 4, LVCFMT_LEFT},
                       {IDS_MACRO_COLUMN_KEY, 9, LVCFMT_LEFT},
                       {IDS_MACRO_COLUMN_DELAY, 5, LVCFMT_RIGHT}};
        int index = 0;
        for (const auto& column : columns) {
            const std::wstring text = Text(column.text);
            LVCOLUMNW item{};
            item.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
            item.fmt = column.format;
            item.cx = width * column.share / 20;
            item.pszText = const_cast<wchar_t*>(text.c_str());
            ListView_InsertColumn(list, index++, &item);
        }
    }

    INT_PTR OnCommand(WORD id, WORD code) {
        switch (id) {
            case IDOK:
                OnOk();
                return TRUE;
            case IDCANCEL:
                EndDialog(window_, IDCANCEL);
                return TRUE;
            case IDC_MACRO_RECORD:
                if (code == BN_CLICKED) OnRecordButton();
                if (code == BN_KILLFOCUS) stoppedByFocus_ = false;
                return TRUE;
            case IDC_MACRO_FIND:
                if (code == EN_CHANGE) FillKeys();
                return TRUE;
            default:
                return code == BN_CLICKED ? OnButton(id) : FALSE;
        }
    }

    INT_PTR OnButton(WORD id) {
        switch (id) {
            case IDC_MACRO_SET_DELAY:
                SetDelay();
                return TRUE;
            case IDC_MACRO_SET_EVERY_DELAY:
                SetEveryDelay();
                return TRUE;
            case IDC_MACRO_INSERT:
                Insert();
                return TRUE;
            case IDC_MACRO_DELETE:
                Delete();
                return TRUE;
            case IDC_MACRO_MOVE_UP:
                Move(-1);
                return TRUE;
            case IDC_MACRO_MOVE_DOWN:
                Move(+1);
                return TRUE;
            case IDC_MACRO_PLAY:
                Play();
                return TRUE;
            default:
                return FALSE;
        }
    }

    INT_PTR OnNotify(const NMHDR& header) {
        if (header.idFrom != IDC_MACRO_ACTIONS) return FALSE;
        if (header.code == LVN_ITEMCHANGED) {
            // The selected action's delay is shown, ready to be changed.
            const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
            const auto row = static_cast<std::size_t>(change.iItem);
            if ((change.uNewState & LVIS_SELECTED) != 0 && change.iItem >= 0 && row < working_.Used()) {
                SetDlgItemInt(window_, IDC_MACRO_DELAY, working_.Actions()[row].DelayMs, FALSE);
            }
            EnableSelectionButtons();
            return TRUE;
        }
        if (header.code == LVN_KEYDOWN && reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey == VK_DELETE) {
            Delete();
            return TRUE;
        }
        return FALSE;
    }

    // ---- The list and the meter.

    void ShowActions(int select) {
        const HWND list = Item(IDC_MACRO_ACTIONS);
        SendMessageW(list, WM_SETREDRAW, FALSE, 0);
        ListView_DeleteAllItems(list);
        const std::vector<MacroAction>& actions = working_.Actions();
        for (std::size_t i = 0; i < actions.size(); ++i) AddRow(list, static_cast<int>(i), actions[i]);
        SendMessageW(list, WM_SETREDRAW, TRUE, 0);
        if (select >= 0 && select < static_cast<int>(actions.size())) {
            ListView_SetItemState(list, select, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
            ListView_EnsureVisible(list, select, FALSE);
        }
        const int used = static_cast<int>(working_.Used());
        SendMessageW(Item(IDC_MACRO_METER), PBM_SETPOS, static_cast<WPARAM>(used), 0);
        SetDlgItemTextW(window_, IDC_MACRO_METER_TEXT,
                        Format(IDS_MACRO_METER, used, static_cast<int>(MacroDraft::Room())).c_str());
        EnableSelectionButtons();
    }

    static void AddRow(HWND list, int row, const MacroAction& action) {
        const std::wstring number = std::to_wstring(row + 1);
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.pszText = const_cast<wchar_t*>(number.c_str());
        ListView_InsertItem(list, &item);
        const std::wstring cells[] = {ActionText(action.EventType), WideFromAnsi(KeyCode(action.KeyCode).name),
                                      std::to_wstring(action.DelayMs)};
        int column = kActionColumn;
        for (const std::wstring& cell : cells) ListView_SetItemText(list, row, column++, const_cast<wchar_t*>(cell.c_str()));
    }

    std::optional<std::size_t> Selected() const {
        const int row = ListView_GetNextItem(Item(IDC_MACRO_ACTIONS), -1, LVNI_SELECTED);
        if (row < 0 || static_cast<std::size_t>(row) >= working_.Used()) return std::nullopt;
        return static_cast<std::size_t>(row);
    }

    void EnableSelectionButtons() {
        const std::optional<std::size_t> row = Selected();
        EnableWindow(Item(IDC_MACRO_DELETE), row.has_value());
        EnableWindow(Item(IDC_MACRO_SET_DELAY), row.has_value());
        EnableWindow(Item(IDC_MACRO_MOVE_UP), row.has_value() && *row > 0);
        EnableWindow(Item(IDC_MACRO_MOVE_DOWN), row.has_value() && *row + 1 < working_.Used());
    }

    // ---- Editing one step at a time.

    std::optional<std::uint16_t> DelayIn(int id) {
        BOOL read = FALSE;
        const UINT value = GetDlgItemInt(window_, id, &read, FALSE);
        if (!read || value > kLargestDelayMs) {
            Say(Text(IDS_MACRO_NOT_A_DELAY));
            SetFocus(Item(id));
            SendMessageW(Item(id), EM_SETSEL, 0, -1);
            return std::nullopt;
        }
        return static_cast<std::uint16_t>(value);
    }

    std::optional<std::size_t> SelectedOrSay() {
        const std::optional<std::size_t> row = Selected();
        if (!row) Say(Text(IDS_MACRO_NO_SELECTION));
        return row;
    }

    void SetDelay() {
        const std::optional<std::size_t> row = SelectedOrSay();
        if (!row) return;
        const std::optional<std::uint16_t> delay = DelayIn(IDC_MACRO_DELAY);
        if (delay && working_.SetDelay(*row, *delay)) ShowActions(static_cast<int>(*row));
    }

    void SetEveryDelay() {
        const std::optional<std::uint16_t> delay = DelayIn(IDC_MACRO_DELAY);
        if (!delay) return;
        working_.SetEveryDelay(*delay);
        const std::optional<std::size_t> row = Selected();
        ShowActions(row ? static_cast<int>(*row) : -1);
    }

    void Insert() {
        const HWND keys = Item(IDC_MACRO_KEY);
        const LRESULT chosen = SendMessageW(keys, CB_GETCURSEL, 0, 0);
        if (chosen == CB_ERR) {
            Say(Text(IDS_MACRO_NO_KEY));
            SetFocus(Item(IDC_MACRO_FIND));
            return;
        }
        const std::optional<std::uint16_t> delay = DelayIn(IDC_MACRO_NEW_DELAY);
        if (!delay) return;
        MacroAction action{};
        action.KeyCode = static_cast<std::uint8_t>(SendMessageW(keys, CB_GETITEMDATA, chosen, 0));
        action.EventType = SendMessageW(Item(IDC_MACRO_EVENT), CB_GETCURSEL, 0, 0) == 1 ? editing::kEventRelease : editing::kEventPress;
        action.DelayMs = *delay;
        // After the selected action, so actions inserted one after another stay in their order.
        const std::optional<std::size_t> row = Selected();
        const std::size_t at = row ? *row + 1 : working_.Used();
        if (!working_.Insert(at, action)) {
            Say(Format(IDS_MACRO_FULL, static_cast<int>(MacroDraft::Room())));
            return;
        }
        ShowActions(static_cast<int>(at));
    }

    void Delete() {
        const std::optional<std::size_t> row = SelectedOrSay();
        if (!row || !working_.Remove(*row)) return;
        const std::size_t used = working_.Used();
        ShowActions(used == 0 ? -1 : static_cast<int>(*row < used ? *row : used - 1));
    }

    void Move(int by) {
        const std::optional<std::size_t> row = SelectedOrSay();
        if (row && working_.Move(*row, by)) ShowActions(static_cast<int>(*row) + by);
    }

    // The codes whose name holds the words typed in "Search:".
    void FillKeys() {
        const HWND keys = Item(IDC_MACRO_KEY);
        SendMessageW(keys, CB_RESETCONTENT, 0, 0);
        wchar_t typed[64] = {};
        GetDlgItemTextW(window_, IDC_MACRO_FIND, typed, 64);
        std::wstring refused;
        const std::optional<std::string> text = AnsiFromWide(typed, refused);
        const std::vector<std::uint8_t> found = text ? SearchKeyCodes(*text) : std::vector<std::uint8_t>{};
        for (const std::uint8_t usage : found) {
            if (usage == kNoKey) continue;  // a macro's action is always a key
            const LRESULT index = SendMessageW(keys, CB_ADDSTRING, 0,
                                               reinterpret_cast<LPARAM>(WideFromAnsi(KeyCode(usage).name).c_str()));
            SendMessageW(keys, CB_SETITEMDATA, static_cast<WPARAM>(index), usage);
        }
        if (SendMessageW(keys, CB_SETCURSEL, 0, 0) == CB_ERR) Say(Format(IDS_MACRO_NO_MATCH, typed));
    }

    // ---- Recording from the keyboard.

    void OnRecordButton() {
        if (recorder_) {
            StopRecording();
        } else if (stoppedByFocus_) {
            stoppedByFocus_ = false;  // the click that took the focus from the box has stopped it
        } else {
            StartRecording();
        }
    }

    void StartRecording() {
        DelayMode mode = DelayMode::kAsPressed;
        std::uint16_t fixed = kDefaultDelayMs;
        if (IsDlgButtonChecked(window_, IDC_MACRO_FIXED) == BST_CHECKED) {
            const std::optional<std::uint16_t> delay = DelayIn(IDC_MACRO_FIXED_DELAY);
            if (!delay) return;
            mode = DelayMode::kFixed;
            fixed = *delay;
        }
        if (player_) player_->Stop();
        recorder_.emplace(mode, fixed);
        recordedFixed_ = mode == DelayMode::kFixed ? std::optional<int>(fixed) : std::nullopt;
        SetDlgItemTextW(window_, IDC_MACRO_RECORD, Text(IDS_MACRO_STOP).c_str());
        EnableWindow(Item(IDC_MACRO_RECORDING_BOX), TRUE);
        SetFocus(Item(IDC_MACRO_RECORDING_BOX));
        Say(Format(IDS_MACRO_RECORDING, 0));
    }

    void OnRecordedKey(const RecordedKey& key) {
        if (!recorder_ || !recorder_->Add(key)) return;
        Say(Format(IDS_MACRO_RECORDING, static_cast<int>(recorder_->Actions().size())));
        if (recorder_->Full()) SetFocus(Item(IDC_MACRO_RECORD));  // which stops it
    }

    void OnRecordingBoxLeft(HWND next) {
        if (!recorder_) return;
        stoppedByFocus_ = next == Item(IDC_MACRO_RECORD);
        StopRecording();
    }

    void StopRecording() {
        if (!recorder_) return;
        recorder_->ReleaseHeld();
        const std::vector<MacroAction> actions = recorder_->Actions();
        const bool clipped = recorder_->Clipped();
        const bool full = recorder_->Full();
        recorder_.reset();
        SetDlgItemTextW(window_, IDC_MACRO_RECORD, Text(IDS_MACRO_RECORD).c_str());
        EnableWindow(Item(IDC_MACRO_RECORDING_BOX), FALSE);
        if (actions.empty()) {
            Say(Text(IDS_MACRO_NOTHING_RECORDED));
            return;
        }
        working_.SetActions(actions);
        ShowActions(0);
        const int count = static_cast<int>(working_.Used());
        std::wstring said = recordedFixed_ ? Format(IDS_MACRO_RECORDED_FIXED, count, *recordedFixed_)
                                           : Format(IDS_MACRO_RECORDED_AS_PRESSED, count);
        if (clipped) said += Text(IDS_MACRO_DELAYS_CUT);
        if (full) said += Format(IDS_MACRO_RECORDED_FULL, static_cast<int>(MacroDraft::Room()));
        Say(said);
    }

    // ---- Trying it out.

    void Play() {
        StopRecording();
        if (working_.Used() == 0) {
            Say(Text(IDS_MACRO_NOTHING_TO_PLAY));
            return;
        }
        if (player_->Play(working_.Actions())) Say(Text(IDS_MACRO_PLAYING));
    }

    void OnPlayed(std::size_t played, std::size_t total) {
        if (window_ == nullptr) return;
        Say(played == total ? Format(IDS_MACRO_PLAYED, static_cast<int>(total))
                            : Format(IDS_MACRO_PLAY_STOPPED, static_cast<int>(played), static_cast<int>(total)));
    }

    // ---- Taking it.

    void OnOk() {
        StopRecording();
        wchar_t typed[kKeyEntryNameBytes * 2] = {};
        GetDlgItemTextW(window_, IDC_MACRO_NAME, typed, static_cast<int>(kKeyEntryNameBytes * 2));
        std::wstring refused;
        const std::optional<std::string> name = AnsiFromWide(typed, refused);
        if (!name) {
            Refuse(IDC_MACRO_NAME, NotInCodePageMessage(refused));
            return;
        }
        working_.SetName(*name);
        std::string error;
        if (!working_.ToEntry(key_, error)) {
            Refuse(working_.Name().empty() || working_.Name().size() > kNameBytes ? IDC_MACRO_NAME : IDC_MACRO_ACTIONS,
                   Format(IDS_MACRO_NOT_KEPT, WideFromAnsi(error).c_str()));
            return;
        }
        draft_ = working_;
        EndDialog(window_, IDOK);
    }

    void Refuse(int id, const std::wstring& reason) {
        Say(reason);
        SetFocus(Item(id));
        MessageBeep(MB_ICONWARNING);
    }

    HWND window_ = nullptr;
    const Fonts& fonts_;
    int profile_;
    int key_;
    MacroDraft& draft_;
    MacroDraft working_;  // the dialog's copy: Cancel leaves the draft as it came
    std::optional<MacroRecorder> recorder_;
    std::optional<int> recordedFixed_;  // the fixed delay of the running recording, if it has one
    bool stoppedByFocus_ = false;
    std::unique_ptr<MacroPlayer> player_;
};

}  // namespace

bool EditMacro(HWND owner, const Fonts& fonts, int profile, int key, MacroDraft& draft) {
    return MacroEditor(fonts, profile, key, draft).Run(owner);
}

}  // namespace brenik::option
