#include "game_picker_win32.h"

#include "option_resources.h"
#include "option_strings_win32.h"
#include "scoped_gdi.h"
#include "scoped_handle.h"
#include "window_procedure.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <set>

namespace brenik::option {
namespace {

std::wstring FileNameOf(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring FolderOf(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

std::optional<std::wstring> ImagePath(DWORD processId) {
    win32::ScopedHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process.Valid()) return std::nullopt;
    wchar_t path[MAX_PATH * 2];
    DWORD size = MAX_PATH * 2;
    if (!QueryFullProcessImageNameW(process.Get(), 0, path, &size)) return std::nullopt;
    return std::wstring(path, size);
}

class GamePicker {
public:
    explicit GamePicker(std::wstring current) : chosen_(std::move(current)) {}

    std::optional<std::wstring> Run(HWND owner) {
        const INT_PTR result = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_GAME_PICKER), owner,
                                               win32::DialogProcedure<GamePicker, &GamePicker::window_, &GamePicker::OnMessage>,
                                               reinterpret_cast<LPARAM>(this));
        if (result != IDOK) return std::nullopt;
        return chosen_;
    }

private:
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
            case WM_INITDIALOG:
                Fill();
                return TRUE;
            case WM_COMMAND:
                return OnCommand(LOWORD(wParam));
            case WM_NOTIFY: {
                // A double click on a program chooses it, as OK does.
                const auto* header = reinterpret_cast<const NMHDR*>(lParam);
                if (header->idFrom == IDC_PROGRAMS && header->code == NM_DBLCLK) return OnCommand(IDOK);
                return FALSE;
            }
            default:
                return FALSE;
        }
    }

    INT_PTR OnCommand(WORD id) {
        switch (id) {
            case IDOK:
                if (!TakeSelection()) return TRUE;
                EndDialog(window_, IDOK);
                return TRUE;
            case IDCANCEL:
                EndDialog(window_, IDCANCEL);
                return TRUE;
            case IDC_NO_GAME:
                chosen_.clear();
                EndDialog(window_, IDOK);
                return TRUE;
            case IDC_BROWSE:
                if (Browse()) EndDialog(window_, IDOK);
                return TRUE;
            default:
                return FALSE;
        }
    }

    void Fill() {
        const HWND list = GetDlgItem(window_, IDC_PROGRAMS);
        ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
        images_ = ImageList_Create(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), ILC_COLOR32 | ILC_MASK, 16, 16);
        ListView_SetImageList(list, images_, LVSIL_SMALL);  // the list destroys it
        RECT box{};
        GetClientRect(list, &box);
        const std::wstring program = Text(IDS_COLUMN_PROGRAM);
        const std::wstring folder = Text(IDS_COLUMN_PATH);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = (box.right - box.left) * 2 / 5;
        column.pszText = const_cast<wchar_t*>(program.c_str());
        ListView_InsertColumn(list, 0, &column);
        column.cx = (box.right - box.left) * 3 / 5 - GetSystemMetrics(SM_CXVSCROLL);
        column.pszText = const_cast<wchar_t*>(folder.c_str());
        ListView_InsertColumn(list, 1, &column);
        programs_ = RunningPrograms();
        for (std::size_t i = 0; i < programs_.size(); ++i) AddRow(list, i);
    }

    void AddRow(HWND list, std::size_t index) {
        const RunningProgram& program = programs_[index];
        SHFILEINFOW info{};
        int image = -1;
        if (SHGetFileInfoW(program.path.c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON) && info.hIcon) {
            const win32::ScopedIcon icon(info.hIcon);
            image = ImageList_AddIcon(images_, icon.Get());
        }
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;
        item.iItem = static_cast<int>(index);
        item.pszText = const_cast<wchar_t*>(program.name.c_str());
        item.lParam = static_cast<LPARAM>(index);
        item.iImage = image;
        const int row = ListView_InsertItem(list, &item);
        const std::wstring folder = FolderOf(program.path);
        ListView_SetItemText(list, row, 1, const_cast<wchar_t*>(folder.c_str()));
        if (_wcsicmp(program.path.c_str(), chosen_.c_str()) == 0) {
            ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        }
    }

    bool TakeSelection() {
        const HWND list = GetDlgItem(window_, IDC_PROGRAMS);
        const int row = ListView_GetNextItem(list, -1, LVNI_SELECTED);
        if (row < 0) return false;
        LVITEMW item{};
        item.mask = LVIF_PARAM;
        item.iItem = row;
        ListView_GetItem(list, &item);
        chosen_ = programs_[static_cast<std::size_t>(item.lParam)].path;
        return true;
    }

    bool Browse() {
        wchar_t path[MAX_PATH * 2] = {};
        const std::wstring filter = FileDialogFilter(IDS_PROGRAM_FILTER);
        OPENFILENAMEW open{};
        open.lStructSize = sizeof open;
        open.hwndOwner = window_;
        open.lpstrFilter = filter.c_str();
        open.lpstrFile = path;
        open.nMaxFile = MAX_PATH * 2;
        open.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
        if (!GetOpenFileNameW(&open)) return false;
        chosen_ = path;
        return true;
    }

    HWND window_ = nullptr;
    HIMAGELIST images_ = nullptr;
    std::vector<RunningProgram> programs_;
    std::wstring chosen_;
};

}  // namespace

std::vector<RunningProgram> RunningPrograms() {
    std::vector<RunningProgram> programs;
    win32::ScopedHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot.Valid()) return programs;
    std::set<std::wstring> seen;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more; more = Process32NextW(snapshot.Get(), &entry)) {
        if (entry.th32ProcessID == GetCurrentProcessId()) continue;
        const std::optional<std::wstring> path = ImagePath(entry.th32ProcessID);
        if (!path || path->empty()) continue;
        std::wstring key = *path;
        CharLowerBuffW(key.data(), static_cast<DWORD>(key.size()));
        if (!seen.insert(key).second) continue;
        programs.push_back({*path, FileNameOf(*path)});
    }
    std::sort(programs.begin(), programs.end(),
              [](const RunningProgram& a, const RunningProgram& b) { return _wcsicmp(a.name.c_str(), b.name.c_str()) < 0; });
    return programs;
}

std::optional<std::wstring> PickGame(HWND owner, const std::wstring& current) { return GamePicker(current).Run(owner); }

}  // namespace brenik::option
