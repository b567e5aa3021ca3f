#include "main_window_win32.h"

#include "ansi_text_win32.h"
#include "debug_output.h"
#include "ini_file.h"
#include "keyboard_repeat.h"
#include "option_resources.h"
#include "option_strings_win32.h"
#include "peer_messages.h"
#include "profile_store.h"
#include "record_editor.h"
#include "shared_state_editor_win32.h"
#include "window_placement_win32.h"
#include "window_procedure.h"

#include "display_page_win32.h"
#include "lighting_page_win32.h"
#include "profiles_page_win32.h"
#include "switches_page_win32.h"

#include <commctrl.h>

namespace brenik::option {
namespace {

constexpr UINT_PTR kTickTimer = 1;
constexpr UINT kTickMs = 500;
// The monitor holds the block's lock for one copy only; a window does not hang behind it longer.
constexpr unsigned long kLockWaitMs = 2000;

// Places of the window's own controls in dialog units, as option.rc lays them out.
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

std::wstring BlockOutcomeText(SharedStateEditor::Outcome outcome) {
    switch (outcome) {
        case SharedStateEditor::Outcome::kNoBlock: return Text(IDS_BLOCK_MISSING);
        case SharedStateEditor::Outcome::kLockBusy: return Text(IDS_BLOCK_LOCK_BUSY);
        case SharedStateEditor::Outcome::kLockFailed: return Text(IDS_BLOCK_LOCK_FAILED);
        default: return L"";
    }
}

BOOL CALLBACK SetFontOf(HWND child, LPARAM font) {
    SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
    return TRUE;
}

UINT StatusText(ApplyStatus status) {
    switch (status) {
        case ApplyStatus::kIdle: return IDS_STATUS_READY;
        case ApplyStatus::kNothingToApply: return IDS_STATUS_NOTHING;
        case ApplyStatus::kSending: return IDS_STATUS_SENDING;
        case ApplyStatus::kSavedOnKeyboard: return IDS_STATUS_SAVED;
        case ApplyStatus::kSavedNotConnected: return IDS_STATUS_NOT_CONNECTED;
        case ApplyStatus::kNotAllHeld: return IDS_STATUS_NOT_ALL_HELD;
        case ApplyStatus::kNoAnswer: return IDS_STATUS_NO_ANSWER;
        case ApplyStatus::kNoMonitor: return IDS_STATUS_NO_MONITOR;
        case ApplyStatus::kBlockUnavailable: return IDS_STATUS_NO_BLOCK;
        case ApplyStatus::kNotAnnounced: return IDS_STATUS_NOT_ANNOUNCED;
        case ApplyStatus::kSaveFailed: return IDS_STATUS_SAVE_FAILED;
    }
    return IDS_STATUS_READY;
}

// The system's message font at the window's DPI: on a screen of another DPI than the main
// one (per-monitor awareness) the system's own call answers for the main screen. The call for
// a given DPI is looked up, as systems before Windows 10 lack it.
bool MessageFontMetrics(HWND window, NONCLIENTMETRICSW& metrics) {
    using ForDpi = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
    using DpiOf = UINT(WINAPI*)(HWND);
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    const auto forDpi = reinterpret_cast<ForDpi>(reinterpret_cast<void*>(GetProcAddress(user32, "SystemParametersInfoForDpi")));
    const auto dpiOf = reinterpret_cast<DpiOf>(reinterpret_cast<void*>(GetProcAddress(user32, "GetDpiForWindow")));
    metrics.cbSize = sizeof metrics;
    if (forDpi != nullptr && dpiOf != nullptr && window != nullptr) {
        if (forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpiOf(window))) return true;
    }
    return SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0) != FALSE;
}

}  // namespace

CMainWindow::CMainWindow(std::string programFolder)
    : monitor_(std::move(programFolder)),
      context_{model_, display_, profile_, {}, monitor_.ProgramFolder(), [this] { OnEdited(); },
               [this](const std::wstring& text) { Say(text); }, [this] { ole_.Need(); }} {}

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
            RECT least{0, 0, 470, 300};
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
        case kMsgProfileSwitched:
        case kMsgLayerChanged:
        case kMsgLightingChanged:
        case kMsgWindowsKeyChanged:
        case kMsgMacroReadBack:
            OnPeerMessage();
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
    {
        const ini::CIniFile config(monitor_.ConfigPath());
        if (!display_.Load(config)) Say(Text(IDS_STATUS_DISPLAY_DAMAGED));
    }
    LoadFirst();
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
    SetWindowPos(GetDlgItem(window_, IDC_RESTORE), nullptr, margin, buttonsY, 0, 0, SWP_NOZORDER | SWP_NOSIZE);
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
    if (progress_.Status() != ApplyStatus::kSending && (model_.HasEdits() || display_.HasEdits())) {
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

bool CMainWindow::ReadBlock(StateRecord& record, std::wstring& why) const {
    const SharedStateEditor::Outcome outcome = SharedStateEditor(kLockWaitMs).Read(record);
    if (outcome == SharedStateEditor::Outcome::kRead) return true;
    why = BlockOutcomeText(outcome);
    return false;
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
        if (monitorSeen_) {
            blockProblem_ = why;
            Say(Format(IDS_STATUS_NO_BLOCK, why.c_str()));
        }
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

void CMainWindow::OnAnswer() {
    if (progress_.Status() != ApplyStatus::kSending && progress_.Status() != ApplyStatus::kNoAnswer) return;
    toolTurn_.Release();
    // An answer after the time-out: the pending items were settled then, and what was lost then
    // is an edit again now.
    const bool late = progress_.Status() == ApplyStatus::kNoAnswer;
    const bool heldAll = (late ? !lostAtTimeout_ : SettleSent().empty()) && !settleFailed_;
    progress_.Answered(heldAll);
    restoring_ = false;
    if (settleFailed_) {
        Say(Format(IDS_STATUS_NO_BLOCK, blockProblem_.c_str()));
    } else {
        SayStatus();
    }
    UpdateButtons();
    ShowEverything();
    if (closeAfterAnswer_ && heldAll && !model_.HasEdits()) DestroyWindow(window_);
    closeAfterAnswer_ = false;
}

std::vector<EditItem> CMainWindow::SettleSent() {
    settleFailed_ = false;
    if (!model_.IsSending()) return {};
    StateRecord& record = *readBuffer_;
    std::wstring why;
    if (!ReadBlock(record, why)) {
        // Still pending: a later peer message or tick settles them.
        settleFailed_ = true;
        blockProblem_ = why;
        return {};
    }
    return model_.Answered(record);
}

void CMainWindow::OnTimer() {
    if (progress_.Tick(GetTickCount64())) {
        // No answer: what the block does not hold becomes the user's edit again, to apply anew.
        toolTurn_.Release();
        lostAtTimeout_ = !SettleSent().empty() || settleFailed_;
        restoring_ = false;
        closeAfterAnswer_ = false;
        SayStatus();
        ShowEverything();
    }
    const bool running = monitor_.Running();
    if (running != monitorSeen_) {
        monitorSeen_ = running;
        UpdateMonitorBar();
        // A monitor that has just started has published its profiles: show them.
        if (running) OnPeerMessage();
    }
    if (progress_.Status() != ApplyStatus::kSending && model_.IsSending()) SettleSent();
}

void CMainWindow::Apply(bool closeAfter) {
    if (progress_.Status() == ApplyStatus::kSending) return;
    for (const auto& page : pages_) {
        if (const std::optional<std::wstring> problem = page->Problem()) {
            Say(Format(IDS_STATUS_FIX_FIRST, problem->c_str()));
            return;
        }
    }
    if (!model_.HasEdits() && !display_.HasEdits()) {
        progress_.NothingToApply();
        if (closeAfter) {
            DestroyWindow(window_);
            return;
        }
        SayStatus();
        return;
    }
    if (!MonitorRuns() || !TakeToolTurn()) return;
    const WriteResult written = WriteEdits();
    if (written == WriteResult::kFailed) {
        toolTurn_.Release();
        return;
    }
    if (written == WriteResult::kNothing) {
        toolTurn_.Release();
        progress_.NothingToApply();
        SayStatus();
        ShowEverything();
        return;
    }
    if (!Announce(kApplyFlaggedChanges)) return;
    closeAfterAnswer_ = closeAfter;
    ShowEverything();
}

bool CMainWindow::TakeToolTurn() {
    if (toolTurn_.Take()) return true;
    Say(Text(IDS_STATUS_TOOL_BUSY));
    return false;
}

bool CMainWindow::MonitorRuns() {
    if (monitor_.Running()) return true;
    progress_.Failed(ApplyStatus::kNoMonitor);
    monitorSeen_ = false;
    UpdateMonitorBar();
    SayStatus();
    return false;
}

bool CMainWindow::Announce(WPARAM jobArgument) {
    const bool attached = monitor_.KeyboardAttached();
    if (!monitor_.Announce(jobArgument)) {
        // Written but not announced: what the block holds is the monitor's at its next 1224.
        SettleSent();
        toolTurn_.Release();
        progress_.Failed(ApplyStatus::kNotAnnounced);
        SayStatus();
        return false;
    }
    progress_.Started(GetTickCount64(), attached);
    SayStatus();
    return true;
}

// The block first, then config.ini's display record: what is written is announced with one
// 1224, and a record the block could not take leaves config.ini as it was too.
CMainWindow::WriteResult CMainWindow::WriteEdits() {
    displayNotSaved_ = false;
    bool wrote = false;
    if (model_.HasEdits()) {
        const editing::ProfileEdit edit = model_.ApplyEdit();
        editing::RecordEditor editor;
        const SharedStateEditor::Outcome outcome = SharedStateEditor(kLockWaitMs).Edit(
            [&](StateRecord& state) { return editor.Apply(edit, state, editing::FlagMode::kReplace); });
        if (outcome == SharedStateEditor::Outcome::kWritten) {
            DebugPrintf("Brenik Option: applied %s\n", edit.what.c_str());
            model_.Sent();
            wrote = true;
        } else if (outcome != SharedStateEditor::Outcome::kRead) {
            blockProblem_ = BlockOutcomeText(outcome);
            progress_.Failed(ApplyStatus::kBlockUnavailable);
            SayStatus();
            return WriteResult::kFailed;
        }
    }
    if (display_.HasEdits()) {
        ini::CIniFile config(monitor_.ConfigPath());
        if (display_.Save(config)) {
            wrote = true;
        } else if (wrote) {
            displayNotSaved_ = true;  // the profiles' change still goes; the status says what did not
        } else {
            progress_.Failed(ApplyStatus::kSaveFailed);
            SayStatus();
            return WriteResult::kFailed;
        }
    }
    return wrote ? WriteResult::kWritten : WriteResult::kNothing;
}

void CMainWindow::RestoreKeyboard() {
    if (progress_.Status() == ApplyStatus::kSending) return;
    if (MessageBoxW(window_, Text(IDS_CONFIRM_RESTORE).c_str(), Text(IDS_TITLE).c_str(),
                    MB_OKCANCEL | MB_ICONWARNING | MB_DEFBUTTON2) != IDOK) {
        return;
    }
    if (!MonitorRuns() || !TakeToolTurn()) return;
    restoring_ = true;
    if (!Announce(kApplyWholeKeyboard)) restoring_ = false;
    SayStatus();
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

void CMainWindow::SayStatus() {
    const ApplyStatus status = progress_.Status();
    if (status == ApplyStatus::kSending && restoring_) {
        Say(Text(IDS_STATUS_RESTORING));
    } else if (status == ApplyStatus::kBlockUnavailable) {
        Say(Format(IDS_STATUS_NO_BLOCK, blockProblem_.c_str()));
    } else if (displayNotSaved_) {
        Say(Text(StatusText(status)) + L" " + Text(IDS_STATUS_DISPLAY_NOT_SAVED));
    } else {
        Say(Text(StatusText(status)));
    }
    UpdateButtons();
}

void CMainWindow::UpdateButtons() {
    const bool enabled = progress_.ButtonsEnabled();
    EnableWindow(GetDlgItem(window_, IDOK), enabled);
    EnableWindow(GetDlgItem(window_, IDC_APPLY), enabled);
    EnableWindow(GetDlgItem(window_, IDC_RESTORE), enabled);
}

void CMainWindow::UpdateMonitorBar() {
    const int show = monitorSeen_ ? SW_HIDE : SW_SHOW;
    ShowWindow(GetDlgItem(window_, IDC_MONITOR_BAR), show);
    ShowWindow(GetDlgItem(window_, IDC_START_MONITOR), show);
}

std::vector<std::unique_ptr<SettingsPage>> MakePages(PageContext& context) {
    std::vector<std::unique_ptr<SettingsPage>> pages;
    pages.push_back(std::make_unique<ProfilesPage>(context));
    pages.push_back(std::make_unique<LightingPage>(context));
    pages.push_back(std::make_unique<SwitchesPage>(context));
    pages.push_back(std::make_unique<DisplayPage>(context));
    return pages;
}

}  // namespace brenik::option
