#include "main_window_win32.h"

#include "change_review_win32.h"
#include "review_dialog_win32.h"

#include "ansi_text_win32.h"
#include "debug_output.h"
#include "ini_file.h"
#include "keyboard_repeat.h"
#include "macro_editor_win32.h"
#include "option_resources.h"
#include "option_strings_win32.h"
#include "peer_messages.h"
#include "profile_store.h"
#include "block_reading_win32.h"
#include "window_dpi_win32.h"
#include "window_placement_win32.h"
#include "window_procedure.h"

#include "display_page_win32.h"
#include "history_page_win32.h"
#include "key_page_win32.h"
#include "lighting_page_win32.h"
#include "profiles_page_win32.h"
#include "switches_page_win32.h"

#include <commctrl.h>

namespace brenik::option {
namespace {

constexpr UINT_PTR kTickTimer = 1;
constexpr UINT kTickMs = 500;

// Places of the window's own controls in dialog units, as option.rc lays them out.
// The template's size, the least the window shrinks to (dialog units).
constexpr int kLeastWidth = 600;
constexpr int kLeastHeight = 372;
constexpr int kMargin = 7;
constexpr int kTabsTop = 40;
constexpr int kStatusFromBottom = 30;
constexpr int kButtonsFromBottom = 19;
constexpr int kButtonWidth = 50;
constexpr int kButtonGap = 4;
constexpr int kButtonHeight = 14;
constexpr int kStartButtonWidth = 80;

// Reading the key-repeat settings from files changes nothing on the system.
class NoKeyboardRepeat : public IKeyboardRepeatSink {
public:
    void SetKeyboardDelay(int) override {}
    void SetKeyboardSpeed(int) override {}
};


BOOL CALLBACK SetFontOf(HWND child, LPARAM font) {
    SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
    return TRUE;
}



}  // namespace

CMainWindow::CMainWindow(std::string programFolder)
    : monitor_(std::move(programFolder)),
      flow_(model_, display_, monitor_, [this](const std::wstring& text) { Say(text); }),
      context_{model_, display_, profile_, {}, monitor_.ProgramFolder(), [this] { OnEdited(); },
               [this](const std::wstring& text) { Say(text); }, [this] { ole_.Need(); },
               [this](HWND owner, int profile, int key, MacroDraft& draft) {
                   return EditMacro(owner, context_.fonts, profile, key, draft);
               },
               [this] { OnReplaced(); }, [this] { Apply(false); }, [this] { return flow_.Sending(); },
               [this] { return StatusText(); }} {}

CMainWindow::~CMainWindow() {
    pages_.clear();
    if (window_ != nullptr) DestroyWindow(window_);
}

bool CMainWindow::Create(int showCommand) {
    CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MAIN), nullptr,
                       win32::DialogProcedure<CMainWindow, &CMainWindow::window_, &CMainWindow::OnMessage>,
                       reinterpret_cast<LPARAM>(this));
    if (window_ == nullptr) {
        DebugPrintf("Brenik Option: the window could not be made (error %lu)\n", GetLastError());
        return false;
    }
    if (!RestorePlacement(window_, showCommand)) ShowWindow(window_, showCommand);
    Layout();
    return true;
}

bool CMainWindow::PreTranslate(MSG& message) {
    if (window_ == nullptr) return false;
    const bool control = GetKeyState(VK_CONTROL) < 0;
    if (message.message == WM_KEYDOWN && control && (message.wParam == VK_TAB || message.wParam == VK_NEXT ||
                                                     message.wParam == VK_PRIOR) &&
        IsChild(window_, message.hwnd)) {
        const bool back = message.wParam == VK_PRIOR || (message.wParam == VK_TAB && GetKeyState(VK_SHIFT) < 0);
        const int count = static_cast<int>(pages_.size());
        const int next = (page_ + (back ? count - 1 : 1)) % count;
        TabCtrl_SetCurSel(GetDlgItem(window_, IDC_TABS), next);
        ShowPage(next);
        return true;
    }
    // Ctrl+Z and Ctrl+Y (or Ctrl+Shift+Z) undo and redo the window's edits, in any control.
    const bool altGr = GetKeyState(VK_MENU) < 0;  // Ctrl+Alt is AltGr: its Z and Y type letters
    if (message.message == WM_KEYDOWN && control && !altGr && (message.wParam == 'Z' || message.wParam == 'Y') &&
        (message.hwnd == window_ || IsChild(window_, message.hwnd))) {
        UndoOrRedo(message.wParam == 'Z' && GetKeyState(VK_SHIFT) >= 0);
        return true;
    }
    return IsDialogMessageW(window_, &message) != FALSE;
}

INT_PTR CMainWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            OnInit();
            return FALSE;
        case WM_COMMAND:
            return OnCommand(LOWORD(wParam), HIWORD(wParam));
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->idFrom == IDC_TABS && header->code == TCN_SELCHANGE) {
                ShowPage(TabCtrl_GetCurSel(header->hwndFrom));
                return TRUE;
            }
            return FALSE;
        }
        case WM_TIMER:
            if (wParam == kTickTimer) OnTimer();
            return TRUE;
        case WM_SIZE:
            Layout();
            return TRUE;
        case WM_GETMINMAXINFO: {
            RECT least{0, 0, kLeastWidth, kLeastHeight};
            if (window_ != nullptr) {
                MapDialogRect(window_, &least);
                AdjustWindowRectEx(&least, static_cast<DWORD>(GetWindowLongW(window_, GWL_STYLE)), FALSE,
                                   static_cast<DWORD>(GetWindowLongW(window_, GWL_EXSTYLE)));
                auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
                info->ptMinTrackSize = POINT{least.right - least.left, least.bottom - least.top};
            }
            return TRUE;
        }
        case WM_DPICHANGED: {
            // Moved to a screen of another DPI: the system scales the dialogs; the fonts are ours.
            if (MakeFonts()) EnumChildWindows(window_, SetFontOf, reinterpret_cast<LPARAM>(font_.Get()));
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(window_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                         suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
            ShowEverything();
            retired_[0].Reset();
            retired_[1].Reset();
            return TRUE;
        }
        case WM_CTLCOLORSTATIC:
            if (reinterpret_cast<HWND>(lParam) == GetDlgItem(window_, IDC_MONITOR_BAR)) {
                SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_INFOBK));
                SetTextColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_INFOTEXT));
                return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_INFOBK));
            }
            return FALSE;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == SC_CLOSE) {
                AskToClose();
                return TRUE;
            }
            return FALSE;
        case WM_CLOSE:
            // Posted by another program (the monitor when the keyboard goes, the installer):
            // it closes at once. The user's own close comes as SC_CLOSE or Cancel and asks.
            DestroyWindow(window_);
            return TRUE;
        case WM_DESTROY:
            KillTimer(window_, kTickTimer);
            SavePlacement(window_);
            PostQuitMessage(0);
            return TRUE;
        case kMsgEnableButtons:
            OnAnswer();
            return TRUE;
        case kMsgSyncDone:
            OnPeerMessage();
            TellPages(kMsgSyncDone);
            return TRUE;
        case kMsgProfileSwitched:
        case kMsgLayerChanged:
        case kMsgLightingChanged:
        case kMsgWindowsKeyChanged:
            OnPeerMessage();
            return TRUE;
        case kMsgMacroReadBack:
            OnMacroRecorded(static_cast<int>(wParam), static_cast<int>(lParam));
            return TRUE;
        default:
            return FALSE;
    }
}

void CMainWindow::OnInit() {
    const HICON big = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_PRODUCT), IMAGE_ICON,
                                                    GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), LR_SHARED));
    const HICON small = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_PRODUCT),
                                                      IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                      GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    SetDlgItemTextW(window_, IDC_MONITOR_BAR, (L"  " + Text(IDS_MONITOR_BAR)).c_str());
    MakeFonts();
    CreatePages();
    EnumChildWindows(window_, SetFontOf, reinterpret_cast<LPARAM>(font_.Get()));
    LoadFirst();
    {
        const ini::CIniFile config(monitor_.ConfigPath());
        if (!display_.Load(config)) Say(StatusText() + L" " + Text(IDS_STATUS_DISPLAY_DAMAGED));
    }
    for (const auto& page : pages_) page->WindowOpened();
    ShowPage(0);
    SetTimer(window_, kTickTimer, kTickMs, nullptr);
}

bool CMainWindow::MakeFonts() {
    NONCLIENTMETRICSW metrics{};
    if (!MessageFontMetrics(window_, metrics)) return false;
    win32::ScopedFont font(CreateFontIndirectW(&metrics.lfMessageFont));
    LOGFONTW boldLook = metrics.lfMessageFont;
    boldLook.lfWeight = FW_BOLD;
    win32::ScopedFont bold(CreateFontIndirectW(&boldLook));
    if (!font.Valid() || !bold.Valid()) return false;
    // The old fonts go when every control has the new ones (the caller shows everything again).
    retired_[0] = std::move(font_);
    retired_[1] = std::move(bold_);
    font_ = std::move(font);
    bold_ = std::move(bold);
    context_.fonts = Fonts{font_.Get(), bold_.Get()};
    return true;
}

void CMainWindow::CreatePages() {
    pages_ = MakePages(context_);
    const HWND tabs = GetDlgItem(window_, IDC_TABS);
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        const std::wstring title = Text(pages_[i]->TitleId());
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(title.c_str());
        TabCtrl_InsertItem(tabs, static_cast<int>(i), &item);
    }
}

bool CMainWindow::EnsurePage(SettingsPage& page) {
    // A page is made the first time it is shown: the window opens with one page's controls.
    if (page.Window() != nullptr) return true;
    if (page.Create(window_) == nullptr) return false;
    EnumChildWindows(page.Window(), SetFontOf, reinterpret_cast<LPARAM>(font_.Get()));
    page.Show();
    return true;
}

void CMainWindow::ShowPage(int index) {
    if (index < 0 || index >= static_cast<int>(pages_.size())) return;
    if (!EnsurePage(*pages_[index])) return;
    page_ = index;
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        if (pages_[i]->Window() != nullptr) ShowWindow(pages_[i]->Window(), static_cast<int>(i) == index ? SW_SHOW : SW_HIDE);
    }
    EnableWindow(GetDlgItem(window_, IDC_PROFILE), pages_[page_]->EditsChosenProfile());
    Layout();
    pages_[page_]->Shown();
}

void CMainWindow::Layout() {
    if (window_ == nullptr || pages_.empty()) return;
    RECT client{};
    GetClientRect(window_, &client);
    RECT units{kMargin, kTabsTop, kStatusFromBottom, kButtonsFromBottom};
    MapDialogRect(window_, &units);
    RECT sizes{kButtonWidth, kButtonHeight, kButtonGap, kStartButtonWidth};
    MapDialogRect(window_, &sizes);
    const int margin = units.left;
    const int width = client.right - 2 * margin;
    const int statusY = client.bottom - units.right;
    const int buttonsY = client.bottom - units.bottom;
    const HWND tabs = GetDlgItem(window_, IDC_TABS);
    SetWindowPos(tabs, nullptr, margin, units.top, width, statusY - units.top - sizes.right, SWP_NOZORDER);
    SetWindowPos(GetDlgItem(window_, IDC_STATUS), nullptr, margin, statusY, width, sizes.top, SWP_NOZORDER);
    int x = client.right - margin;
    for (int id : {IDC_APPLY, IDCANCEL, IDOK}) {
        x -= sizes.left;
        SetWindowPos(GetDlgItem(window_, id), nullptr, x, buttonsY, sizes.left, sizes.top, SWP_NOZORDER);
        x -= sizes.right;
    }
    // Restore, Undo, Redo and Review from the left, each its own width from the template.
    int left = margin;
    for (const int id : {IDC_RESTORE, IDC_UNDO, IDC_REDO, IDC_REVIEW}) {
        const HWND button = GetDlgItem(window_, id);
        RECT box{};
        GetWindowRect(button, &box);
        SetWindowPos(button, nullptr, left, buttonsY, 0, 0, SWP_NOZORDER | SWP_NOSIZE);
        left += box.right - box.left + sizes.right;
    }
    SetWindowPos(GetDlgItem(window_, IDC_START_MONITOR), nullptr, client.right - margin - sizes.bottom,
                 margin / 2, sizes.bottom, sizes.top, SWP_NOZORDER);
    SetWindowPos(GetDlgItem(window_, IDC_MONITOR_BAR), nullptr, margin, margin / 2,
                 width - sizes.bottom - sizes.right, sizes.top, SWP_NOZORDER);
    // The pages sit in the tab's display area, right after the tabs in the Tab order.
    RECT area{};
    GetWindowRect(tabs, &area);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&area), 2);
    TabCtrl_AdjustRect(tabs, FALSE, &area);
    for (const auto& page : pages_) {
        if (page->Window() == nullptr) continue;
        SetWindowPos(page->Window(), tabs, area.left, area.top, area.right - area.left, area.bottom - area.top,
                     SWP_NOACTIVATE);
    }
    InvalidateRect(window_, nullptr, TRUE);
}

void CMainWindow::FillProfileChoice() {
    const HWND combo = GetDlgItem(window_, IDC_PROFILE);
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (int p = 0; p < kProfileCount; ++p) {
        const std::wstring name = WideFromAnsi(model_.ShownText(p, *editing::FindProfileField("name")));
        const std::wstring item = Format(IDS_PROFILE_ITEM, p + 1, name.c_str());
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
    SendMessageW(combo, CB_SETCURSEL, profile_, 0);
}

void CMainWindow::ShowEverything() {
    FillProfileChoice();
    for (const auto& page : pages_) page->Show();
    UpdateButtons();
}

void CMainWindow::OnEdited() {
    ShowEverything();
    if (!flow_.Sending() && (model_.HasEdits() || display_.HasEdits())) {
        Say(Text(IDS_STATUS_CHANGED));
    }
}

INT_PTR CMainWindow::OnCommand(WORD id, WORD code) {
    switch (id) {
        case IDOK:
            Apply(true);
            return TRUE;
        case IDC_APPLY:
            Apply(false);
            return TRUE;
        case IDCANCEL:
            AskToClose();
            return TRUE;
        case IDC_RESTORE:
            RestoreKeyboard();
            return TRUE;
        case IDC_UNDO:
            UndoOrRedo(true);
            return TRUE;
        case IDC_REDO:
            UndoOrRedo(false);
            return TRUE;
        case IDC_REVIEW:
            Review();
            return TRUE;
        case IDC_START_MONITOR:
            if (monitor_.Start()) Say(Text(IDS_STATUS_STARTING_MONITOR));
            return TRUE;
        case IDC_PROFILE:
            if (code == CBN_SELCHANGE) {
                const LRESULT selected = SendDlgItemMessageW(window_, IDC_PROFILE, CB_GETCURSEL, 0, 0);
                if (selected != CB_ERR) profile_ = static_cast<int>(selected);
                // A refused value typed for the profile shown before is not carried to this one.
                for (const auto& page : pages_) {
                    if (page->EditsChosenProfile()) page->Forget();
                }
                ShowEverything();
            }
            return TRUE;
        default:
            return FALSE;
    }
}

void CMainWindow::LoadFirst() {
    auto record = std::make_unique<StateRecord>();
    std::wstring why;
    monitorSeen_ = monitor_.Running();
    if (monitorSeen_ && ReadBlock(*record, why)) {
        model_.Load(*record);
        Say(Text(IDS_STATUS_LOADED));
    } else {
        // Without the monitor the profile files show what it would load; nothing is written.
        LoadFromFiles();
        Say(monitorSeen_ ? Format(IDS_STATUS_NO_BLOCK, why.c_str()) : Text(IDS_STATUS_FROM_FILES));
    }
    const int current = model_.ShownCurrentProfile();
    profile_ = current >= 0 && current < kProfileCount ? current : 0;
    UpdateMonitorBar();
    ShowEverything();
}

void CMainWindow::LoadFromFiles() {
    auto record = std::make_unique<StateRecord>();
    NoKeyboardRepeat repeat;
    ProfileStore store(monitor_.ProgramFolder(), ini::SystemIniStorage(), repeat);
    store.LoadProfiles(*record);
    if (model_.Loaded()) {
        model_.Refresh(*record);
    } else {
        model_.Load(*record);
    }
}

void CMainWindow::OnPeerMessage() {
    StateRecord& record = *readBuffer_;
    std::wstring why;
    if (!ReadBlock(record, why)) {
        Say(Format(IDS_STATUS_NO_BLOCK, why.c_str()));
        return;
    }
    const std::vector<EditItem> overridden = model_.Refresh(record);
    if (!overridden.empty()) Say(Text(IDS_STATUS_KEYBOARD_CHANGED));
    ShowEverything();
}

void CMainWindow::OnMacroRecorded(int profile, int key) {
    OnPeerMessage();
    if (!IsProfileIndex(profile) || key < 0 || key >= kKeyEntryCount) return;
    for (const auto& page : pages_) page->MacroRecorded(profile, key);
    // The user's unapplied change of that key is kept over it (and marked), as any live change.
    const bool kept = model_.IsEdited(EditItem::KeyEntry(profile, key));
    Say(Format(kept ? IDS_STATUS_MACRO_RECORDED_KEPT : IDS_STATUS_MACRO_RECORDED, key + 1, profile + 1));
}

void CMainWindow::OnReplaced() {
    // A refused text still in a field belongs to the value now replaced.
    for (const auto& page : pages_) page->Forget();
    ShowEverything();
}

void CMainWindow::TellPages(UINT message) {
    for (const auto& page : pages_) page->MonitorSaid(message);
}

void CMainWindow::UndoOrRedo(bool undo) {
    const std::string what = undo ? model_.UndoText() : model_.RedoText();
    if (!(undo ? model_.Undo() : model_.Redo())) {
        if (undo) Say(Text(IDS_NOTHING_TO_UNDO));
        return;
    }
    OnReplaced();
    Say(Format(undo ? IDS_STATUS_UNDONE : IDS_STATUS_REDONE, WideFromAnsi(what).c_str()));
}

void CMainWindow::Review() {
    const bool canApply = flow_.ButtonsEnabled() && (model_.HasEdits() || display_.HasEdits());
    if (ShowReview(window_, ReviewLines(model_, display_), canApply)) Apply(false, true);
}

bool CMainWindow::ConflictsAccepted() {
    const std::vector<std::wstring> conflicts = NewConflictLines(model_);
    if (conflicts.empty()) return true;
    std::wstring list;
    for (const std::wstring& line : conflicts) list += L"\x2022 " + line + L"\n";
    return MessageBoxW(window_, Format(IDS_CONFIRM_CONFLICTS, list.c_str()).c_str(), Text(IDS_TITLE).c_str(),
                       MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

void CMainWindow::OnAnswer() {
    bool heldAll = false;
    if (!flow_.OnAnswer(heldAll)) {
        TellPages(kMsgEnableButtons);  // another program's change: the history may have grown
        return;
    }
    UpdateButtons();
    ShowEverything();
    TellPages(kMsgEnableButtons);
    if (closeAfterAnswer_ && heldAll && !model_.HasEdits()) DestroyWindow(window_);
    closeAfterAnswer_ = false;
}

void CMainWindow::OnTimer() {
    if (flow_.OnTick(GetTickCount64())) {
        closeAfterAnswer_ = false;
        UpdateButtons();
        ShowEverything();
    }
    const bool running = monitor_.Running();
    if (running != monitorSeen_) {
        monitorSeen_ = running;
        UpdateMonitorBar();
        // A monitor that has just started has published its profiles: show them.
        if (running) OnPeerMessage();
    }
}

void CMainWindow::Apply(bool closeAfter, bool reviewed) {
    if (flow_.Sending()) return;
    for (const auto& page : pages_) {
        if (const std::optional<std::wstring> problem = page->Problem()) {
            Say(Format(IDS_STATUS_FIX_FIRST, problem->c_str()));
            return;
        }
    }
    if (!model_.HasEdits() && !display_.HasEdits()) {
        if (closeAfter) {
            DestroyWindow(window_);
            return;
        }
        flow_.NothingToApply();
        return;
    }
    // A warning, never a silent change: the user decides (the review showed them already).
    if (!reviewed && !ConflictsAccepted()) return;
    flow_.Apply();
    AfterFlow();
    closeAfterAnswer_ = closeAfter && flow_.Sending();
}

void CMainWindow::RestoreKeyboard() {
    if (flow_.Sending()) return;
    if (MessageBoxW(window_, Text(IDS_CONFIRM_RESTORE).c_str(), Text(IDS_TITLE).c_str(),
                    MB_OKCANCEL | MB_ICONWARNING | MB_DEFBUTTON2) != IDOK) {
        return;
    }
    flow_.RestoreKeyboard();
    AfterFlow();
}

void CMainWindow::AfterFlow() {
    if (flow_.MonitorMissing()) {
        monitorSeen_ = false;
        UpdateMonitorBar();
    }
    UpdateButtons();
    ShowEverything();
}

void CMainWindow::AskToClose() {
    if ((model_.HasEdits() || display_.HasEdits()) &&
        MessageBoxW(window_, Text(IDS_CONFIRM_DISCARD).c_str(), Text(IDS_TITLE).c_str(),
                    MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2) != IDOK) {
        return;
    }
    DestroyWindow(window_);
}

void CMainWindow::Say(const std::wstring& text) { SetDlgItemTextW(window_, IDC_STATUS, text.c_str()); }

std::wstring CMainWindow::StatusText() const {
    wchar_t text[512] = {};
    GetDlgItemTextW(window_, IDC_STATUS, text, 512);
    return text;
}

void CMainWindow::UpdateButtons() {
    const bool enabled = flow_.ButtonsEnabled();
    EnableWindow(GetDlgItem(window_, IDOK), enabled);
    EnableWindow(GetDlgItem(window_, IDC_APPLY), enabled);
    EnableWindow(GetDlgItem(window_, IDC_RESTORE), enabled);
    EnableWindow(GetDlgItem(window_, IDC_UNDO), model_.CanUndo());
    EnableWindow(GetDlgItem(window_, IDC_REDO), model_.CanRedo());
}

void CMainWindow::UpdateMonitorBar() {
    const int show = monitorSeen_ ? SW_HIDE : SW_SHOW;
    ShowWindow(GetDlgItem(window_, IDC_MONITOR_BAR), show);
    ShowWindow(GetDlgItem(window_, IDC_START_MONITOR), show);
}

std::vector<std::unique_ptr<SettingsPage>> MakePages(PageContext& context) {
    std::vector<std::unique_ptr<SettingsPage>> pages;
    pages.push_back(std::make_unique<ProfilesPage>(context));
    pages.push_back(std::make_unique<KeyPage>(context));
    pages.push_back(std::make_unique<LightingPage>(context));
    pages.push_back(std::make_unique<SwitchesPage>(context));
    pages.push_back(std::make_unique<DisplayPage>(context));
    pages.push_back(std::make_unique<HistoryPage>(context));
    return pages;
}

}  // namespace brenik::option
