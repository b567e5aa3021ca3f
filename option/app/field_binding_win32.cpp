#include "field_binding_win32.h"

#include "ansi_text_win32.h"
#include "option_resources.h"
#include "option_strings_win32.h"
#include "window_text_win32.h"

#include <commctrl.h>

#include <cerrno>
#include <cwchar>
#include <limits>

namespace brenik::option {
namespace {

std::wstring Widen(const std::string& utf8OrAscii) {
    // The editing core's reasons are plain ASCII sentences.
    return std::wstring(utf8OrAscii.begin(), utf8OrAscii.end());
}

std::optional<std::int32_t> ParseNumber(const std::wstring& text) {
    if (text.empty() || text.size() > 11) return std::nullopt;
    wchar_t* end = nullptr;
    errno = 0;
    const long long value = std::wcstoll(text.c_str(), &end, 10);
    if (errno != 0 || end == text.c_str() || *end != L'\0') return std::nullopt;
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

void SelectChoice(HWND combo, const BoundControl& control, std::int32_t value) {
    const int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    // The last item stands for a value no choice has, shown as its number.
    if (count != static_cast<int>(control.choices.size())) SendMessageW(combo, CB_DELETESTRING, count - 1, 0);
    for (std::size_t i = 0; i < control.choices.size(); ++i) {
        if (control.choices[i].value == value) {
            SendMessageW(combo, CB_SETCURSEL, i, 0);
            return;
        }
    }
    const std::wstring unknown = Format(IDS_UNKNOWN_VALUE, value);
    const LRESULT index = SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(unknown.c_str()));
    SendMessageW(combo, CB_SETITEMDATA, index, static_cast<LPARAM>(value));
    SendMessageW(combo, CB_SETCURSEL, index, 0);
}

void FillChoices(HWND combo, const BoundControl& control) {
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (const Choice& choice : control.choices) {
        const std::wstring text = Text(choice.textId);
        const LRESULT index = SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        SendMessageW(combo, CB_SETITEMDATA, index, static_cast<LPARAM>(choice.value));
    }
}

}  // namespace

FieldBinder::FieldBinder(HWND page, std::vector<BoundControl> controls, IFieldSource& source, const Fonts& fonts)
    : page_(page), controls_(std::move(controls)), source_(source), fonts_(fonts) {
    for (const BoundControl& control : controls_) {
        if (control.kind == ControlKind::kChoice) FillChoices(GetDlgItem(page_, control.id), control);
    }
}

const BoundControl* FieldBinder::Find(int id) const {
    for (const BoundControl& control : controls_) {
        if (control.id == id) return &control;
    }
    return nullptr;
}

void FieldBinder::Show() {
    showing_ = true;
    for (const BoundControl& control : controls_) {
        if (refused_.count(control.id) == 0) ShowOne(control);
        Mark(control);
    }
    showing_ = false;
}

void FieldBinder::ShowOne(const BoundControl& control) {
    const HWND window = GetDlgItem(page_, control.id);
    switch (control.kind) {
        case ControlKind::kText: {
            const std::wstring text = WideFromAnsi(source_.Text(control.name));
            if (WindowText(window) != text) SetWindowTextW(window, text.c_str());
            break;
        }
        case ControlKind::kNumber: {
            // "007" being typed is 7 already: only a different number is written over it.
            const std::int32_t value = source_.Integer(control.name);
            if (ParseNumber(WindowText(window)) != value) SetWindowTextW(window, std::to_wstring(value).c_str());
            break;
        }
        case ControlKind::kCheck:
            SendMessageW(window, BM_SETCHECK, source_.Integer(control.name) == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
            break;
        case ControlKind::kChoice:
            SelectChoice(window, control, source_.Integer(control.name));
            break;
        case ControlKind::kTrackbar:
            SendMessageW(window, TBM_SETPOS, TRUE, source_.Integer(control.name));
            break;
    }
}

void FieldBinder::Mark(const BoundControl& control) {
    const HWND label = GetDlgItem(page_, control.labelId != 0 ? control.labelId : control.id);
    if (label == nullptr || fonts_.bold == nullptr) return;
    const bool marked = source_.Edited(control.name) || refused_.count(control.id) != 0;
    const HFONT wanted = marked ? fonts_.bold : fonts_.normal;
    if (reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)) != wanted) {
        SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(wanted), TRUE);
    }
}

bool FieldBinder::OnCommand(WPARAM wParam, LPARAM, std::wstring& refused) {
    const BoundControl* control = Find(LOWORD(wParam));
    if (control == nullptr || showing_) return false;
    const UINT code = HIWORD(wParam);
    const bool wanted = (code == EN_CHANGE && (control->kind == ControlKind::kText || control->kind == ControlKind::kNumber)) ||
                        (code == BN_CLICKED && control->kind == ControlKind::kCheck) ||
                        (code == CBN_SELCHANGE && control->kind == ControlKind::kChoice);
    // Any other notice (EN_UPDATE comes before EN_CHANGE) must not show the page again: that
    // would write the source's value over what is being typed before it is taken.
    if (!wanted) return false;
    Take(*control, refused);
    return true;
}

bool FieldBinder::OnScroll(HWND window) {
    const BoundControl* control = Find(GetDlgCtrlID(window));
    if (control == nullptr || control->kind != ControlKind::kTrackbar || showing_) return false;
    std::wstring refused;
    Take(*control, refused);
    return true;
}

bool FieldBinder::Take(const BoundControl& control, std::wstring& refused) {
    const HWND window = GetDlgItem(page_, control.id);
    std::string error;
    bool taken = false;
    switch (control.kind) {
        case ControlKind::kText: {
            std::wstring character;
            const std::optional<std::string> ansi = AnsiFromWide(WindowText(window), character);
            if (!ansi) {
                refused = NotInCodePageMessage(character);
                break;
            }
            taken = source_.SetText(control.name, *ansi, error);
            break;
        }
        case ControlKind::kNumber: {
            const std::optional<std::int32_t> number = ParseNumber(WindowText(window));
            if (!number) {
                refused = Text(IDS_NOT_A_NUMBER);
                break;
            }
            taken = source_.SetInteger(control.name, *number, error);
            break;
        }
        case ControlKind::kCheck:
            taken = source_.SetInteger(control.name, SendMessageW(window, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0, error);
            break;
        case ControlKind::kChoice: {
            const LRESULT index = SendMessageW(window, CB_GETCURSEL, 0, 0);
            if (index == CB_ERR) break;
            taken = source_.SetInteger(control.name, static_cast<std::int32_t>(SendMessageW(window, CB_GETITEMDATA, index, 0)),
                                       error);
            break;
        }
        case ControlKind::kTrackbar:
            taken = source_.SetInteger(control.name, static_cast<std::int32_t>(SendMessageW(window, TBM_GETPOS, 0, 0)), error);
            break;
    }
    if (taken) {
        refused_.erase(control.id);
    } else {
        if (refused.empty()) refused = Widen(error);
        refused_[control.id] = refused;
        if (control.kind == ControlKind::kText || control.kind == ControlKind::kNumber) {
            EDITBALLOONTIP tip{};
            tip.cbStruct = sizeof tip;
            tip.pszText = refused.c_str();
            tip.ttiIcon = TTI_WARNING;
            SendMessageW(window, EM_SHOWBALLOONTIP, 0, reinterpret_cast<LPARAM>(&tip));
        }
    }
    Mark(control);
    return taken;
}

std::optional<std::wstring> FieldBinder::Problem() const {
    if (refused_.empty()) return std::nullopt;
    const auto& [id, why] = *refused_.begin();
    SetFocus(GetDlgItem(page_, id));
    return why;
}

void FieldBinder::Forget() { refused_.clear(); }

}  // namespace brenik::option
