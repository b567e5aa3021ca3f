#include "key_assignment_panel_win32.h"

#include "ansi_text_win32.h"
#include "key_assignment.h"
#include "key_faces_win32.h"
#include "keyboard_layout.h"
#include "macro_draft.h"
#include "option_resources.h"
#include "option_strings_win32.h"
#include "window_text_win32.h"
#include "profile_store.h"

#include <commdlg.h>

#include <cstdio>
#include <cstring>

namespace brenik::option {
namespace {

// Which controls each form of the panel shows.
enum FormBits : unsigned {
    kStandardKeyForm = 1 << 0,
    kBankForm = 1 << 1,  // any assignable key
    kSingleForm = 1 << 2,
    kMacroForm = 1 << 3,
    kProgramForm = 1 << 4,
    kLaunchForm = 1 << 5,
};
struct FormControl {
    int id;
    unsigned forms;
};
constexpr FormControl kFormControls[] = {
    {IDC_KEY_STATE, kStandardKeyForm},
    {IDC_DOES_LABEL, kBankForm},
    {IDC_DOES, kBankForm},
    {IDC_CODE_SEARCH_LABEL, kStandardKeyForm | kSingleForm},
    {IDC_CODE_SEARCH, kStandardKeyForm | kSingleForm},
    {IDC_SENDS_LABEL, kStandardKeyForm | kSingleForm},
    {IDC_SENDS_LIST, kStandardKeyForm | kSingleForm},
    {IDC_MACRO_SUMMARY, kMacroForm},
    {IDC_EDIT_MACRO, kMacroForm},
    {IDC_PROGRAM_LABEL, kProgramForm},
    {IDC_PROGRAM_PATH, kProgramForm},
    {IDC_PROGRAM_BROWSE, kProgramForm},
    {IDC_LAUNCH_VALUE_LABEL, kLaunchForm},
    {IDC_LAUNCH_VALUE, kLaunchForm},
    {IDC_LAUNCH_NAME_LABEL, kLaunchForm},
    {IDC_LAUNCH_NAME, kLaunchForm},
};
constexpr int kModifierCount = IDC_MODIFIER_LAST - IDC_MODIFIER_FIRST + 1;  // bits 0..7 of the modifier byte

std::wstring Widened(const std::string& text) { return std::wstring(text.begin(), text.end()); }

std::string UsageWord(std::uint8_t usage) {
    char word[8];
    std::snprintf(word, sizeof word, "0x%02X", usage);
    return word;
}

}  // namespace

KeyAssignmentPanel::KeyAssignmentPanel(const HWND& page, PageContext& context) : page_(page), context_(context) {}

void KeyAssignmentPanel::Init() {
    codes_.Attach(GetDlgItem(page_, IDC_CODE_SEARCH), GetDlgItem(page_, IDC_SENDS_LIST));
    SendDlgItemMessageW(page_, IDC_PROGRAM_PATH, EM_LIMITTEXT, kProgramPathBytes - 1, 0);
    SendDlgItemMessageW(page_, IDC_LAUNCH_VALUE, EM_LIMITTEXT, 12, 0);
    SendDlgItemMessageW(page_, IDC_LAUNCH_NAME, EM_LIMITTEXT, kKeyEntryNameBytes - 1, 0);
    Show(std::nullopt);
}

const MacroKeyInfo& KeyAssignmentPanel::Entry() const {
    return context_.model.ShownProfile(context_.profile).MacroKeyInfo[static_cast<std::size_t>(picked_->index)];
}

KeyAssignmentPanel::Does KeyAssignmentPanel::Kind() const {
    if (chosen_) return *chosen_;
    switch (Entry().FunctionType) {
        case kFunctionSingleKey: return Does::kSingle;
        case kFunctionMacro: return Does::kMacro;
        case kFunctionLaunchProgram: return Does::kProgram;
        case kFunctionLaunchEntry: return Does::kLaunch;
        default: return Does::kStandard;
    }
}

void KeyAssignmentPanel::Show(std::optional<PickedKey> picked) {
    if (picked != picked_) {
        // Another key: what was chosen or refused for the last one does not carry over.
        chosen_.reset();
        refused_.clear();
    }
    picked_ = picked;
    showing_ = true;
    SendDlgItemMessageW(page_, IDC_PICKED_KEY, WM_SETFONT, reinterpret_cast<WPARAM>(context_.fonts.bold), FALSE);
    if (!picked_) {
        ShowText(IDC_PICKED_KEY, Text(IDS_NO_KEY_PICKED));
        ShowForm(std::nullopt);
        ShowWindow(GetDlgItem(page_, IDC_KEY_NOTE), SW_HIDE);
        EnableWindow(GetDlgItem(page_, IDC_RESTORE_KEY), FALSE);
    } else if (picked_->kind == PickedKey::Kind::kStandard) {
        ShowStandardKey(picked_->index);
    } else {
        ShowBankKey(picked_->index);
    }
    showing_ = false;
    rewrite_ = false;
}

void KeyAssignmentPanel::ShowText(int id, const std::wstring& text) {
    const HWND control = GetDlgItem(page_, id);
    // An entry being typed in, or holding a refused value, keeps its text.
    if (refused_.count(id) != 0 || (!rewrite_ && GetFocus() == control && id != IDC_PICKED_KEY)) return;
    if (WindowText(control) != text) SetWindowTextW(control, text.c_str());
}

void KeyAssignmentPanel::ShowForm(std::optional<Does> form) {
    unsigned shown = 0;
    if (picked_ && picked_->kind == PickedKey::Kind::kStandard) shown = kStandardKeyForm;
    if (form) {
        shown = kBankForm;
        if (*form == Does::kSingle) shown |= kSingleForm;
        if (*form == Does::kMacro) shown |= kMacroForm;
        if (*form == Does::kProgram) shown |= kProgramForm;
        if (*form == Does::kLaunch) shown |= kLaunchForm;
    }
    for (const FormControl& control : kFormControls) {
        ShowWindow(GetDlgItem(page_, control.id), (control.forms & shown) != 0 ? SW_SHOWNA : SW_HIDE);
    }
    for (int bit = 0; bit < kModifierCount; ++bit) {
        ShowWindow(GetDlgItem(page_, IDC_MODIFIER_FIRST + bit), (shown & kSingleForm) != 0 ? SW_SHOWNA : SW_HIDE);
    }
    EnableWindow(GetDlgItem(page_, IDC_RESTORE_ALL_KEYS), TRUE);
}

void KeyAssignmentPanel::ShowStandardKey(int index) {
    const std::uint8_t code = context_.model.ShownProfile(context_.profile).standardkey[index];
    const std::uint8_t own = kDefaultStandardKeys[static_cast<std::size_t>(index)];
    ShowText(IDC_PICKED_KEY, StandardKeyName(index));
    ShowText(IDC_KEY_STATE, code == own ? Format(IDS_STANDARD_STATE_OWN, CodeName(own).c_str())
                                        : Format(IDS_STANDARD_STATE, CodeName(own).c_str(), CodeName(code).c_str()));
    ShowForm(std::nullopt);
    ShowWindow(GetDlgItem(page_, IDC_KEY_NOTE), SW_HIDE);
    codes_.Show(code);
    EnableWindow(GetDlgItem(page_, IDC_RESTORE_KEY), code != own);
}

void KeyAssignmentPanel::FillDoes(int entry) {
    const HWND does = GetDlgItem(page_, IDC_DOES);
    const std::string standard = AssignableKeyBank()[static_cast<std::size_t>(entry)].standardFunction;
    const std::wstring first = standard.empty() ? Text(IDS_DOES_STANDARD_PLAIN)
                                                : Format(IDS_DOES_STANDARD, Widened(standard).c_str());
    SendMessageW(does, CB_RESETCONTENT, 0, 0);
    for (const std::wstring& item : {first, Text(IDS_DOES_SINGLE), Text(IDS_DOES_MACRO), Text(IDS_DOES_PROGRAM),
                                     Text(IDS_DOES_LAUNCH)}) {
        SendMessageW(does, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
}

void KeyAssignmentPanel::ShowBankKey(int entry) {
    const MacroKeyInfo& info = Entry();
    const Does kind = Kind();
    ShowText(IDC_PICKED_KEY, BankKeyName(entry));
    FillDoes(entry);
    SendDlgItemMessageW(page_, IDC_DOES, CB_SETCURSEL, static_cast<WPARAM>(kind), 0);
    ShowForm(kind);
    const bool single = info.FunctionType == kFunctionSingleKey;
    codes_.Show(single ? std::optional<std::uint8_t>(info.Actions[0].KeyCode) : std::nullopt);
    if (single || !chosen_) {
        for (int bit = 0; bit < kModifierCount; ++bit) {
            const bool on = single && (info.Actions[0].EventType & (1u << bit)) != 0;
            CheckDlgButton(page_, IDC_MODIFIER_FIRST + bit, on ? BST_CHECKED : BST_UNCHECKED);
        }
    }
    if (info.FunctionType == kFunctionMacro) {
        ShowText(IDC_MACRO_SUMMARY, Format(IDS_MACRO_SUMMARY, RecordText(info.MacroName, sizeof info.MacroName).c_str(),
                                           static_cast<int>(info.ActionCount)));
    } else {
        ShowText(IDC_MACRO_SUMMARY, Text(context_.editMacro ? IDS_NO_MACRO : IDS_NO_EDITOR));
    }
    EnableWindow(GetDlgItem(page_, IDC_EDIT_MACRO), context_.editMacro ? TRUE : FALSE);
    const bool program = info.FunctionType == kFunctionLaunchProgram;
    ShowText(IDC_PROGRAM_PATH, program ? RecordText(info.ProgramPath, sizeof info.ProgramPath) : L"");
    const bool launch = info.FunctionType == kFunctionLaunchEntry;
    ShowText(IDC_LAUNCH_VALUE, launch ? std::to_wstring(info.LaunchValue) : L"");
    ShowText(IDC_LAUNCH_NAME, launch ? RecordText(info.MacroName, sizeof info.MacroName) : L"");

    const BankKey& key = AssignableKeyBank()[static_cast<std::size_t>(entry)];
    const bool noted = !key.onKeyboard || !key.hasKeyBlock;
    if (noted) {
        SetDlgItemTextW(page_, IDC_KEY_NOTE,
                        Format(key.onKeyboard ? IDS_NOTE_NO_KEY_BLOCK : IDS_NOTE_PROFILE_ONLY, entry + 1).c_str());
    }
    ShowWindow(GetDlgItem(page_, IDC_KEY_NOTE), noted ? SW_SHOWNA : SW_HIDE);
    EnableWindow(GetDlgItem(page_, IDC_RESTORE_KEY), info.FunctionType != kFunctionStandard);
}

bool KeyAssignmentPanel::OnCommand(WORD id, WORD code) {
    if (showing_) return id >= IDC_KEY_STATE && id <= IDC_PANEL;
    if (id >= IDC_MODIFIER_FIRST && id <= IDC_MODIFIER_LAST) {
        if (code == BN_CLICKED) TakeModifiers();
        return true;
    }
    switch (id) {
        case IDC_CODE_SEARCH:
            if (code == EN_CHANGE) codes_.Refill();
            return true;
        case IDC_SENDS_LIST:
            if (code == LBN_SELCHANGE) TakeCode();
            return true;
        case IDC_DOES:
            if (code == CBN_SELCHANGE) TakeDoes();
            return true;
        case IDC_PROGRAM_PATH:
            if (code == EN_CHANGE) TakeProgram();
            return true;
        case IDC_LAUNCH_VALUE:
        case IDC_LAUNCH_NAME:
            if (code == EN_CHANGE) TakeLaunch();
            return true;
        case IDC_PROGRAM_BROWSE:
            if (code == BN_CLICKED) BrowseProgram();
            return true;
        case IDC_EDIT_MACRO:
            if (code == BN_CLICKED) EditMacro();
            return true;
        case IDC_RESTORE_KEY:
            if (code == BN_CLICKED) RestoreKey();
            return true;
        case IDC_RESTORE_ALL_KEYS:
            if (code == BN_CLICKED) RestoreAllKeys();
            return true;
        default:
            return false;
    }
}

void KeyAssignmentPanel::TakeCode() {
    const std::optional<std::uint8_t> code = codes_.Selected();
    if (!picked_ || !code) return;
    if (picked_->kind == PickedKey::Kind::kStandard) {
        SetCode(picked_->index, *code);
    } else {
        SetSingle(*code);
    }
}

void KeyAssignmentPanel::TakeModifiers() {
    if (!picked_ || picked_->kind != PickedKey::Kind::kBank) return;
    const MacroKeyInfo& info = Entry();
    // Without a code yet the ticks wait for one.
    std::optional<std::uint8_t> code = codes_.Selected();
    if (!code && info.FunctionType == kFunctionSingleKey) code = info.Actions[0].KeyCode;
    if (code) SetSingle(*code);
}

void KeyAssignmentPanel::TakeDoes() {
    if (!picked_ || picked_->kind != PickedKey::Kind::kBank) return;
    const LRESULT selected = SendDlgItemMessageW(page_, IDC_DOES, CB_GETCURSEL, 0, 0);
    if (selected < 0) return;
    const auto kind = static_cast<Does>(selected);
    refused_.clear();
    chosen_ = kind;
    switch (kind) {
        case Does::kStandard:
            chosen_.reset();
            Assign({"standard"}, IDC_DOES);
            return;
        case Does::kSingle:
            if (const std::optional<std::uint8_t> code = codes_.Selected()) {
                SetSingle(*code);
                return;
            }
            break;
        case Does::kProgram:
            if (GetWindowTextLengthW(GetDlgItem(page_, IDC_PROGRAM_PATH)) > 0) {
                TakeProgram();
                return;
            }
            break;
        case Does::kLaunch:
            if (GetWindowTextLengthW(GetDlgItem(page_, IDC_LAUNCH_VALUE)) > 0) {
                TakeLaunch();
                return;
            }
            break;
        case Does::kMacro:
            break;
    }
    // Nothing to store yet: the form waits for its value.
    Show(picked_);
}

void KeyAssignmentPanel::TakeProgram() {
    const std::optional<std::string> path = AnsiOf(IDC_PROGRAM_PATH, IDC_PROGRAM_PATH);
    if (path) Assign({"program", *path}, IDC_PROGRAM_PATH, true);
}

void KeyAssignmentPanel::TakeLaunch() {
    const std::optional<std::string> value = AnsiOf(IDC_LAUNCH_VALUE, IDC_LAUNCH_VALUE);
    const std::optional<std::string> name = AnsiOf(IDC_LAUNCH_NAME, IDC_LAUNCH_NAME);
    if (!value || !name) return;
    std::vector<std::string> words{"launch", *value};
    if (!name->empty()) words.push_back(*name);
    // Both entries are mended together: a refusal names the pair by the value's entry.
    refused_.erase(IDC_LAUNCH_NAME);
    Assign(words, IDC_LAUNCH_VALUE, true);
}

void KeyAssignmentPanel::EditMacro() {
    if (!picked_ || picked_->kind != PickedKey::Kind::kBank || !context_.editMacro) return;
    const int entry = picked_->index;
    MacroDraft draft = MacroDraft::FromEntry(Entry());
    if (!context_.editMacro(GetAncestor(page_, GA_ROOT), context_.profile, entry, draft)) return;
    std::string error;
    std::optional<MacroKeyInfo> made = draft.ToEntry(entry, error);
    if (!made) {
        context_.say(Format(IDS_KEY_REFUSED, entry + 1, Widened(error).c_str()));
        return;
    }
    // The editor does not show the macro's playing mode; a macro edited keeps the keyboard's.
    if (Entry().FunctionType == kFunctionMacro) made->MacroOption = Entry().MacroOption;
    chosen_.reset();
    context_.model.SetKeyEntry(context_.profile, entry, *made);
    context_.edited();
}

void KeyAssignmentPanel::BrowseProgram() {
    context_.needOle();
    wchar_t path[MAX_PATH] = {};
    GetDlgItemTextW(page_, IDC_PROGRAM_PATH, path, MAX_PATH);
    const std::wstring filter = FileDialogFilter(IDS_PROGRAM_FILTER);
    OPENFILENAMEW open{};
    open.lStructSize = sizeof open;
    open.hwndOwner = GetAncestor(page_, GA_ROOT);
    open.lpstrFilter = filter.c_str();
    open.lpstrFile = path;
    open.nMaxFile = MAX_PATH;
    open.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameW(&open)) return;
    // The entry takes it as if typed: refused there if the record cannot hold it.
    SetDlgItemTextW(page_, IDC_PROGRAM_PATH, path);
}

void KeyAssignmentPanel::RestoreKey() {
    if (!picked_) return;
    refused_.clear();
    chosen_.reset();
    if (picked_->kind == PickedKey::Kind::kStandard) {
        SetCode(picked_->index, kDefaultStandardKeys[static_cast<std::size_t>(picked_->index)]);
    } else {
        Assign({"standard"}, IDC_RESTORE_KEY);
    }
}

void KeyAssignmentPanel::RestoreAllKeys() {
    const std::wstring question = Format(IDS_CONFIRM_RESTORE_KEYS, context_.profile + 1);
    if (MessageBoxW(GetAncestor(page_, GA_ROOT), question.c_str(), Text(IDS_TITLE).c_str(),
                    MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2) != IDOK) {
        return;
    }
    std::uint8_t keys[kStandardKeyCount];
    std::memcpy(keys, kDefaultStandardKeys.data(), sizeof keys);
    context_.model.SetStandardKeys(context_.profile, keys);
    context_.edited();
}

void KeyAssignmentPanel::SetCode(int index, std::uint8_t code) {
    std::uint8_t keys[kStandardKeyCount];
    std::memcpy(keys, context_.model.ShownProfile(context_.profile).standardkey, sizeof keys);
    if (keys[index] == code) return;
    keys[index] = code;
    context_.model.SetStandardKeys(context_.profile, keys);
    context_.edited();
}

void KeyAssignmentPanel::SetSingle(std::uint8_t code) {
    Assign({"single", UsageWord(code), std::to_string(CheckedModifiers())}, IDC_SENDS_LIST);
}

std::uint8_t KeyAssignmentPanel::CheckedModifiers() const {
    unsigned modifiers = 0;
    for (int bit = 0; bit < kModifierCount; ++bit) {
        if (IsDlgButtonChecked(page_, IDC_MODIFIER_FIRST + bit) == BST_CHECKED) modifiers |= 1u << bit;
    }
    return static_cast<std::uint8_t>(modifiers);
}

std::optional<std::string> KeyAssignmentPanel::AnsiOf(int id, int refusalControl) {
    std::wstring lost;
    std::optional<std::string> ansi = AnsiFromWide(WindowText(GetDlgItem(page_, id)), lost);
    if (!ansi) Refused(refusalControl, NotInCodePageMessage(lost));
    return ansi;
}

bool KeyAssignmentPanel::Assign(const std::vector<std::string>& words, int control, bool typed) {
    if (!picked_ || picked_->kind != PickedKey::Kind::kBank) return false;
    const int entry = picked_->index;
    std::string error;
    const std::optional<MacroKeyInfo> made = editing::BuildKeyAssignment(words, entry, error);
    if (!made) {
        Refused(control, Format(IDS_KEY_REFUSED, entry + 1, Widened(error).c_str()));
        return false;
    }
    refused_.erase(control);
    if (std::memcmp(&*made, &Entry(), sizeof *made) != 0) {
        context_.model.SetKeyEntry(context_.profile, entry, *made, typed);
    }
    chosen_.reset();  // the entry is now of the kind chosen
    context_.edited();
    return true;
}

void KeyAssignmentPanel::Refused(int control, const std::wstring& why) {
    refused_[control] = why;
    context_.say(why);
}

std::optional<std::wstring> KeyAssignmentPanel::Problem() const {
    if (refused_.empty()) return std::nullopt;
    const auto& [id, why] = *refused_.begin();
    SetFocus(GetDlgItem(page_, id));
    return why;
}

void KeyAssignmentPanel::Forget() {
    refused_.clear();
    chosen_.reset();
    // What is in the entries now is no longer what the user typed (an undo, another profile):
    // the next show writes them even where the caret is.
    rewrite_ = true;
}

}  // namespace brenik::option
