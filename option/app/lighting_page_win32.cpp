// The lighting page: the key and logo colours (a swatch, the system's colour dialog and a hex
// entry), both layers' effects, which keys light, and the numbers of the lighting and logo
// controls. Values whose meaning is known are shown by it; the others as numbers with their
// range, which comes from the editing core's table.
#include "lighting_page_win32.h"

#include "option_resources.h"
#include "option_strings_win32.h"
#include "scoped_gdi.h"

#include <commdlg.h>

#include <cstdio>
#include <cwchar>

namespace brenik::option {

// A colour as the profile holds it: three fields of 0..255.
struct ColourFields {
    int swatchId;
    int chooseId;
    int hexId;
    const char* red;
    const char* green;
    const char* blue;
};

namespace {

const ColourFields kKeyColour{IDC_KEY_SWATCH, IDC_KEY_CHOOSE, IDC_KEY_HEX, "key-red", "key-green", "key-blue"};
const ColourFields kLogoColour{IDC_LOGO_SWATCH, IDC_LOGO_CHOOSE, IDC_LOGO_HEX, "logo-red", "logo-green", "logo-blue"};

// The numbers of the page: the base id of label, edit, up-down and range, and the field.
struct NumberRow {
    int baseId;
    const char* field;
};
const NumberRow kNumbers[] = {
    {IDC_LIGHT_EFFECT, "light-effect"},   {IDC_EXTENDED_EFFECT, "extended-layer-effect"},
    {IDC_LIGHT_CONTROL, "light-control"}, {IDC_LIGHT_SAVING, "light-saving"},
    {IDC_LIGHT_TIMEOUT, "light-timeout"}, {IDC_COLOUR_FLOW, "color-flow"},
    {IDC_LOGO_OPTION, "logo-option"},     {IDC_LOGO_CONTROL, "logo-control"},
    {IDC_LOGO_FLOW, "logo-flow"},
};

// Which keys light, as the keyboard's lighting report carries them.
const std::vector<Choice> kKeyLightTypes = {
    {0, IDS_LIGHT_TYPE_ALL}, {1, IDS_LIGHT_TYPE_1}, {2, IDS_LIGHT_TYPE_2}, {3, IDS_LIGHT_TYPE_3}, {4, IDS_LIGHT_TYPE_NONE},
};

std::wstring HexOf(COLORREF colour) {
    wchar_t text[8];
    std::swprintf(text, 8, L"%02X%02X%02X", GetRValue(colour), GetGValue(colour), GetBValue(colour));
    return text;
}

// "FF8000" or "#ff8000"; nullopt for anything else.
std::optional<COLORREF> ParseHex(std::wstring text) {
    if (!text.empty() && text[0] == L'#') text.erase(0, 1);
    if (text.size() != 6 || text.find_first_not_of(L"0123456789abcdefABCDEF") != std::wstring::npos) return std::nullopt;
    const unsigned long value = std::wcstoul(text.c_str(), nullptr, 16);
    return RGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
}

BYTE ClampByte(std::int32_t value) { return static_cast<BYTE>(value < 0 ? 0 : value > 255 ? 255 : value); }

}  // namespace

LightingPage::LightingPage(PageContext& context)
    : SettingsPage(context, IDD_PAGE_LIGHTING, IDS_PAGE_LIGHTING), source_(context.model, context.profile) {}

void LightingPage::OnInit() {
    std::vector<BoundControl> controls;
    for (const NumberRow& row : kNumbers) {
        const editing::ProfileField* field = editing::FindProfileField(row.field);
        InitNumber(row.baseId, static_cast<std::int32_t>(field->low), static_cast<std::int32_t>(field->high));
        controls.push_back({row.baseId + IDC_NUMBER_EDIT, row.baseId + IDC_NUMBER_LABEL, ControlKind::kNumber, row.field});
    }
    controls.push_back({IDC_KEY_LIGHT_TYPE, IDC_KEY_LIGHT_TYPE_LABEL, ControlKind::kChoice, "key-light-type", kKeyLightTypes});
    Bind(std::move(controls), source_);
    // The keyboard always receives 2 for the logo's speed; the profile's value is shown, not edited.
    InitNumber(IDC_LOGO_SPEED, 0, 255, false);
    EnableWindow(GetDlgItem(window_, IDC_LOGO_SPEED + IDC_NUMBER_SPIN), FALSE);
    for (const ColourFields* colour : {&kKeyColour, &kLogoColour}) {
        SendDlgItemMessageW(window_, colour->hexId, EM_LIMITTEXT, 7, 0);
    }
}

COLORREF LightingPage::Colour(const ColourFields& fields) const {
    return RGB(ClampByte(source_.Integer(fields.red)), ClampByte(source_.Integer(fields.green)),
               ClampByte(source_.Integer(fields.blue)));
}

bool LightingPage::SetColour(const ColourFields& fields, COLORREF colour) {
    std::string error;
    const SettingsModel::OneStep oneStep(context_.model);  // undone as one colour
    const bool set = source_.SetInteger(fields.red, GetRValue(colour), error) &&
                     source_.SetInteger(fields.green, GetGValue(colour), error) &&
                     source_.SetInteger(fields.blue, GetBValue(colour), error);
    if (!set) context_.say(std::wstring(error.begin(), error.end()));
    return set;
}

void LightingPage::ShowOwn() {
    showingOwn_ = true;
    for (const ColourFields* colour : {&kKeyColour, &kLogoColour}) {
        InvalidateRect(GetDlgItem(window_, colour->swatchId), nullptr, FALSE);
        const HWND hex = GetDlgItem(window_, colour->hexId);
        // The entry being typed in keeps what is typed until it is a whole colour; an entry
        // left with half a colour shows the colour again, and its problem goes with it.
        if (GetFocus() != hex) {
            SetWindowTextW(hex, HexOf(Colour(*colour)).c_str());
            hexProblems_.erase(colour->hexId);
        }
        const bool edited = source_.Edited(colour->red) || source_.Edited(colour->green) || source_.Edited(colour->blue);
        const HFONT font = edited ? context_.fonts.bold : context_.fonts.normal;
        SendDlgItemMessageW(window_, colour->chooseId, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
    const ProfileRecord& profile = context_.model.ShownProfile(context_.profile);
    SetDlgItemInt(window_, IDC_LOGO_SPEED + IDC_NUMBER_EDIT, static_cast<UINT>(profile.LogoLightSpeed), TRUE);
    showingOwn_ = false;
}

bool LightingPage::OnOwnCommand(WORD id, WORD code) {
    for (const ColourFields* colour : {&kKeyColour, &kLogoColour}) {
        if (id == colour->chooseId && code == BN_CLICKED) {
            ChooseWithDialog(*colour);
            return true;
        }
        if (id == colour->hexId && code == EN_CHANGE) {
            if (!showingOwn_) TakeHex(*colour);
            return true;
        }
        if (id == colour->hexId && code == EN_KILLFOCUS) {
            ShowOwn();
            return true;
        }
    }
    return id == IDC_LOGO_SPEED + IDC_NUMBER_EDIT;
}

void LightingPage::ChooseWithDialog(const ColourFields& fields) {
    CHOOSECOLORW choose{};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = GetAncestor(window_, GA_ROOT);
    choose.rgbResult = Colour(fields);
    choose.lpCustColors = customColours_;
    choose.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR;
    if (!ChooseColorW(&choose)) return;
    if (SetColour(fields, choose.rgbResult)) Edited();
}

void LightingPage::TakeHex(const ColourFields& fields) {
    wchar_t text[16] = {};
    GetDlgItemTextW(window_, fields.hexId, text, 16);
    const std::optional<COLORREF> colour = ParseHex(text);
    if (!colour) {
        // Half a colour is normal while typing; it is said, and Apply waits for a whole one.
        hexProblems_[fields.hexId] = Text(IDS_NOT_HEX_COLOUR);
        return;
    }
    hexProblems_.erase(fields.hexId);
    if (SetColour(fields, *colour)) Edited();
}

std::optional<std::wstring> LightingPage::OwnProblem() const {
    if (hexProblems_.empty()) return std::nullopt;
    const auto& [id, why] = *hexProblems_.begin();
    SetFocus(GetDlgItem(window_, id));
    return why;
}

bool LightingPage::OnDrawItem(const DRAWITEMSTRUCT& item) {
    for (const ColourFields* colour : {&kKeyColour, &kLogoColour}) {
        if (static_cast<int>(item.CtlID) != colour->swatchId) continue;
        const win32::ScopedBrush brush(CreateSolidBrush(Colour(*colour)));
        FillRect(item.hDC, &item.rcItem, brush.Get());
        FrameRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_WINDOWFRAME));
        return true;
    }
    return false;
}

}  // namespace brenik::option
