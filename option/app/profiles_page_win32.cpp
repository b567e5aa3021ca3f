// The profiles page: the five profiles side by side, each with its picture, name and game,
// the current one marked and each of the others made current with a button; a line that
// names two profiles bound to the same game and which one wins; and a copy of one profile's
// settings, all of them or one part, onto another; a profile to and from a profile file.
#include "profiles_page_win32.h"

#include "ansi_text_win32.h"
#include "game_conflicts.h"
#include "option_resources.h"
#include "profile_files_win32.h"
#include "option_strings_win32.h"

#include <commdlg.h>

#include <algorithm>

namespace brenik::option {
namespace {

int ColumnId(int profile, int offset) { return IDC_PROFILE_COLUMN_BASE + profile * IDC_PROFILE_COLUMN_STRIDE + offset; }

// The column and offset of a control id, or false for another control.
bool ColumnOf(int id, int& profile, int& offset) {
    const int relative = id - IDC_PROFILE_COLUMN_BASE;
    if (relative < 0 || relative >= kProfileCount * IDC_PROFILE_COLUMN_STRIDE) return false;
    profile = relative / IDC_PROFILE_COLUMN_STRIDE;
    offset = relative % IDC_PROFILE_COLUMN_STRIDE;
    return true;
}

// The parts a copy takes, in the order of the Section enum.
const UINT kSectionNames[] = {IDS_SECTION_ALL,    IDS_SECTION_LIGHTING, IDS_SECTION_KEY_LOCKS, IDS_SECTION_SOUNDS,
                              IDS_SECTION_REPEAT, IDS_SECTION_MEDIA,    IDS_SECTION_KEYS};

std::wstring ProfileList(const std::vector<int>& profiles) {
    std::wstring list;
    for (std::size_t i = 0; i < profiles.size(); ++i) {
        if (i > 0) list += Text(i + 1 == profiles.size() ? IDS_LIST_LAST : IDS_LIST_NEXT);
        list += std::to_wstring(profiles[i] + 1);
    }
    return list;
}

int SelectedItem(HWND page, int comboId) {
    const LRESULT index = SendDlgItemMessageW(page, comboId, CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? -1 : static_cast<int>(index);
}

}  // namespace

ProfilesPage::ProfilesPage(PageContext& context) : SettingsPage(context, IDD_PAGE_PROFILES, IDS_PAGE_PROFILES) {
    for (int p = 0; p < kProfileCount; ++p) {
        columns_.push_back(std::make_unique<Column>(Column{p, ProfileFieldSource(context.model, indexes_[p]), {}}));
    }
}

void ProfilesPage::OnInit() {
    for (const auto& column : columns_) {
        const int p = column->profile;
        const editing::ProfileField* name = editing::FindProfileField("name");
        SendDlgItemMessageW(window_, ColumnId(p, IDC_COL_NAME), EM_LIMITTEXT, name->textBytes - 1, 0);
        Bind({{ColumnId(p, IDC_COL_NAME), ColumnId(p, IDC_COL_NAME_LABEL), ControlKind::kText, "name"}}, column->source);
    }
    for (UINT id : kSectionNames) {
        SendDlgItemMessageW(window_, IDC_COPY_SECTION, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Text(id).c_str()));
    }
    SendDlgItemMessageW(window_, IDC_COPY_SECTION, CB_SETCURSEL, 1, 0);
    FillCopyChoices();
    SendDlgItemMessageW(window_, IDC_COPY_FROM, CB_SETCURSEL, 0, 0);
    SendDlgItemMessageW(window_, IDC_COPY_TO, CB_SETCURSEL, 1, 0);
    SendDlgItemMessageW(window_, IDC_FILE_PROFILE, CB_SETCURSEL, 0, 0);
}

void ProfilesPage::FillCopyChoices() {
    for (int comboId : {IDC_COPY_FROM, IDC_COPY_TO, IDC_FILE_PROFILE}) {
        const int selected = SelectedItem(window_, comboId);
        SendDlgItemMessageW(window_, comboId, CB_RESETCONTENT, 0, 0);
        for (int p = 0; p < kProfileCount; ++p) {
            const std::wstring name = WideFromAnsi(context_.model.ShownText(p, *editing::FindProfileField("name")));
            const std::wstring item = Format(IDS_PROFILE_ITEM, p + 1, name.c_str());
            SendDlgItemMessageW(window_, comboId, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        }
        if (selected >= 0) SendDlgItemMessageW(window_, comboId, CB_SETCURSEL, selected, 0);
    }
}

void ProfilesPage::ShowOwn() {
    const int current = context_.model.ShownCurrentProfile();
    for (const auto& column : columns_) {
        const int p = column->profile;
        const std::wstring picture = WideFromAnsi(column->source.Text("picture"));
        if (!picture.empty()) context_.needOle();
        column->picture.Show(picture);
        InvalidateRect(GetDlgItem(window_, ColumnId(p, IDC_COL_PICTURE)), nullptr, FALSE);
        const std::wstring game = WideFromAnsi(column->source.Text("game"));
        SetDlgItemTextW(window_, ColumnId(p, IDC_COL_GAME), game.empty() ? Text(IDS_NO_GAME).c_str() : game.c_str());
        const bool gameEdited = column->source.Edited("game");
        SendDlgItemMessageW(window_, ColumnId(p, IDC_COL_GAME_LABEL), WM_SETFONT,
                            reinterpret_cast<WPARAM>(gameEdited ? context_.fonts.bold : context_.fonts.normal), TRUE);
        const bool pictureEdited = column->source.Edited("picture");
        SendDlgItemMessageW(window_, ColumnId(p, IDC_COL_PICTURE_BUTTON), WM_SETFONT,
                            reinterpret_cast<WPARAM>(pictureEdited ? context_.fonts.bold : context_.fonts.normal), TRUE);
        // The current profile says so; every other one offers to become it.
        const bool isCurrent = p == current;
        ShowWindow(GetDlgItem(window_, ColumnId(p, IDC_COL_CURRENT)), isCurrent ? SW_SHOW : SW_HIDE);
        ShowWindow(GetDlgItem(window_, ColumnId(p, IDC_COL_MAKE_CURRENT)), isCurrent ? SW_HIDE : SW_SHOW);
        SetDlgItemTextW(window_, ColumnId(p, IDC_COL_CURRENT), Text(IDS_CURRENT).c_str());
        SendDlgItemMessageW(window_, ColumnId(p, IDC_COL_CURRENT), WM_SETFONT,
                            reinterpret_cast<WPARAM>(context_.fonts.bold), TRUE);
    }
    FillCopyChoices();
    ShowConflicts();
}

void ProfilesPage::ShowConflicts() {
    std::array<std::string, kProfileCount> games;
    for (int p = 0; p < kProfileCount; ++p) games[p] = context_.model.ShownText(p, *editing::FindProfileField("game"));
    std::wstring text;
    for (const GameConflict& conflict : FindGameConflicts(games)) {
        if (!text.empty()) text += L"\n";
        text += Format(IDS_CONFLICT, WideFromAnsi(conflict.program).c_str(), ProfileList(conflict.profiles).c_str(),
                       conflict.profiles.front() + 1);
    }
    SetDlgItemTextW(window_, IDC_CONFLICTS, text.c_str());
}

bool ProfilesPage::OnOwnCommand(WORD id, WORD code) {
    if (id == IDC_COPY && code == BN_CLICKED) {
        Copy();
        return true;
    }
    if ((id == IDC_IMPORT || id == IDC_EXPORT) && code == BN_CLICKED) {
        const int profile = SelectedItem(window_, IDC_FILE_PROFILE);
        if (profile < 0) return true;
        if (id == IDC_IMPORT) ImportProfileFromFile(GetAncestor(window_, GA_ROOT), context_, profile);
        else ExportProfileToFile(GetAncestor(window_, GA_ROOT), context_, profile);
        return true;
    }
    int profile = 0;
    int offset = 0;
    if (code != BN_CLICKED || !ColumnOf(id, profile, offset)) return false;
    switch (offset) {
        case IDC_COL_PICTURE_BUTTON:
            ChoosePicture(profile);
            return true;
        case IDC_COL_GAME_BUTTON:
            ChooseGame(profile);
            return true;
        case IDC_COL_MAKE_CURRENT:
            context_.model.SetCurrentProfile(profile);
            Edited();
            return true;
        default:
            return false;
    }
}

void ProfilesPage::SetPath(int profile, const char* field, const std::wstring& path) {
    std::wstring character;
    const std::optional<std::string> ansi = AnsiFromWide(path, character);
    if (!ansi) {
        context_.say(NotInCodePageMessage(character));
        return;
    }
    std::string error;
    if (!columns_[profile]->source.SetText(field, *ansi, error)) {
        context_.say(std::wstring(error.begin(), error.end()));
        return;
    }
    Edited();
}

void ProfilesPage::ChoosePicture(int profile) {
    context_.needOle();
    wchar_t path[MAX_PATH * 2] = {};
    const std::wstring filter = FileDialogFilter(IDS_PICTURE_FILTER);
    OPENFILENAMEW open{};
    open.lStructSize = sizeof open;
    open.hwndOwner = GetAncestor(window_, GA_ROOT);
    open.lpstrFilter = filter.c_str();
    open.lpstrFile = path;
    open.nMaxFile = MAX_PATH * 2;
    open.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (GetOpenFileNameW(&open)) SetPath(profile, "picture", path);
}

void ProfilesPage::ChooseGame(int profile) {
    context_.needOle();  // the picker's file dialog and the programs' icons
    const std::wstring current = WideFromAnsi(columns_[profile]->source.Text("game"));
    if (const std::optional<std::wstring> chosen = PickGame(GetAncestor(window_, GA_ROOT), current)) {
        SetPath(profile, "game", *chosen);
    }
}

void ProfilesPage::Copy() {
    const int section = SelectedItem(window_, IDC_COPY_SECTION);
    const int from = SelectedItem(window_, IDC_COPY_FROM);
    const int to = SelectedItem(window_, IDC_COPY_TO);
    if (section < 0 || from < 0 || to < 0 || from == to) return;
    const std::wstring sectionName = Text(kSectionNames[section]);
    const std::wstring question = Format(IDS_CONFIRM_COPY, sectionName.c_str(), from + 1, to + 1);
    if (MessageBoxW(GetAncestor(window_, GA_ROOT), question.c_str(), Text(IDS_TITLE).c_str(),
                    MB_OKCANCEL | MB_ICONQUESTION) != IDOK) {
        return;
    }
    context_.model.CopySection(static_cast<Section>(section), from, to);
    Edited();
}

bool ProfilesPage::OnDrawItem(const DRAWITEMSTRUCT& item) {
    int profile = 0;
    int offset = 0;
    if (!ColumnOf(static_cast<int>(item.CtlID), profile, offset) || offset != IDC_COL_PICTURE) return false;
    columns_[profile]->picture.Draw(item.hDC, item.rcItem, Text(IDS_NO_PICTURE));
    return true;
}

}  // namespace brenik::option
