#include "settings_page_win32.h"

#include "option_resources.h"
#include "option_strings_win32.h"
#include "window_procedure.h"

#include <commctrl.h>
#include <uxtheme.h>

namespace brenik::option {
namespace {

const editing::ProfileField& FieldNamed(const char* name) {
    // The pages name only rows of the table; a wrong name is a mistake in a page's table.
    const editing::ProfileField* field = editing::FindProfileField(name);
    return *field;
}

}  // namespace

std::string ProfileFieldSource::Text(const char* name) const { return model_.ShownText(profile_, FieldNamed(name)); }

std::int32_t ProfileFieldSource::Integer(const char* name) const {
    return model_.ShownInteger(profile_, FieldNamed(name));
}

bool ProfileFieldSource::Edited(const char* name) const {
    return model_.IsEdited(EditItem::Field(profile_, FieldNamed(name)));
}

bool ProfileFieldSource::SetText(const char* name, const std::string& ansi, std::string& error) {
    return model_.SetField(profile_, FieldNamed(name), ansi, error);
}

bool ProfileFieldSource::SetInteger(const char* name, std::int32_t value, std::string& error) {
    return model_.SetInteger(profile_, FieldNamed(name), value, error);
}

SettingsPage::SettingsPage(PageContext& context, int templateId, UINT titleId)
    : context_(context), templateId_(templateId), titleId_(titleId) {}

SettingsPage::~SettingsPage() {
    if (window_ != nullptr) DestroyWindow(window_);
}

HWND SettingsPage::Create(HWND parent) {
    return CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), parent,
                              win32::DialogProcedure<SettingsPage, &SettingsPage::window_, &SettingsPage::OnMessage>,
                              reinterpret_cast<LPARAM>(this));
}

void SettingsPage::Bind(std::vector<BoundControl> controls, IFieldSource& source) {
    binders_.push_back(std::make_unique<FieldBinder>(window_, std::move(controls), source, context_.fonts));
}

void SettingsPage::InitNumber(int baseId, std::int32_t low, std::int32_t high, bool withRangeText) {
    SendDlgItemMessageW(window_, baseId + IDC_NUMBER_SPIN, UDM_SETRANGE32, low, high);
    SendDlgItemMessageW(window_, baseId + IDC_NUMBER_EDIT, EM_LIMITTEXT, 11, 0);
    if (withRangeText) SetDlgItemTextW(window_, baseId + IDC_NUMBER_RANGE, Format(IDS_RANGE, low, high).c_str());
}

void SettingsPage::Show() {
    if (window_ == nullptr) return;  // not made yet: it shows the values when it is
    for (const auto& binder : binders_) binder->Show();
    ShowOwn();
}

std::optional<std::wstring> SettingsPage::Problem() const {
    for (const auto& binder : binders_) {
        if (auto problem = binder->Problem()) return problem;
    }
    return OwnProblem();
}

void SettingsPage::Forget() {
    OwnForget();
    for (const auto& binder : binders_) binder->Forget();
}

INT_PTR SettingsPage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            // The page's background is the tab's, as on every page of a tabbed dialog.
            EnableThemeDialogTexture(window_, ETDT_ENABLETAB);
            OnInit();
            return FALSE;
        case WM_COMMAND: {
            if (OnOwnCommand(LOWORD(wParam), HIWORD(wParam))) return TRUE;
            for (const auto& binder : binders_) {
                std::wstring refused;
                if (!binder->OnCommand(wParam, lParam, refused)) continue;
                Edited();
                if (!refused.empty()) context_.say(refused);  // after the window's own line
                return TRUE;
            }
            return FALSE;
        }
        case WM_HSCROLL:
            for (const auto& binder : binders_) {
                if (binder->OnScroll(reinterpret_cast<HWND>(lParam))) {
                    Edited();
                    return TRUE;
                }
            }
            return FALSE;
        case WM_DRAWITEM:
            return OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)) ? TRUE : FALSE;
        case WM_NOTIFY:
            return OnNotify(*reinterpret_cast<const NMHDR*>(lParam)) ? TRUE : FALSE;
        case WM_SIZE:
            OnSize();
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace brenik::option
