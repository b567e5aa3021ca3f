#include "profile_files_win32.h"

#include "ansi_text_win32.h"
#include "history_folder.h"
#include "ini_storage.h"
#include "option_resources.h"
#include "option_strings_win32.h"
#include "profile_history.h"
#include "profile_export.h"
#include "profile_import.h"

#include <commdlg.h>

#include <memory>
#include <optional>

namespace brenik::option {
namespace {

constexpr DWORD kPathChars = MAX_PATH * 2;

// The chosen file's path as the INI functions take it (ANSI), or nothing: cancelled, or a name
// the code page cannot hold (said).
std::optional<std::string> ChooseFile(HWND owner, PageContext& context, bool save) {
    context.needOle();
    const std::wstring filter = FileDialogFilter(IDS_PROFILE_FILE_FILTER);
    wchar_t path[kPathChars] = {};
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = path;
    dialog.nMaxFile = kPathChars;
    dialog.lpstrDefExt = L"cmp";
    dialog.Flags = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
                   (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    if (!(save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog))) return std::nullopt;
    std::wstring character;
    std::optional<std::string> ansi = AnsiFromWide(path, character);
    if (!ansi) context.say(NotInCodePageMessage(character));
    return ansi;
}

}  // namespace

void ImportProfileFromFile(HWND owner, PageContext& context, int profile) {
    const std::optional<std::string> path = ChooseFile(owner, context, false);
    if (!path) return;
    // The profile as shown, so what the file lacks (its live layer) stays as it is.
    auto record = std::make_unique<ProfileRecord>(context.model.ShownProfile(profile));
    std::string error;
    if (!editing::ImportProfileFile(*path, ini::SystemIniStorage(), *record, error)) {
        context.say(Format(IDS_STATUS_IMPORT_REFUSED, WideFromAnsi(error).c_str()));
        return;
    }
    // The profiles as they were stay in the history, whatever the import then becomes; a copy
    // that cannot be kept is said, and the import goes on.
    const bool kept = history::ProfileHistory(context.programFolder, ini::SystemIniStorage(), history::SystemHistoryFolder())
                          .Keep(history::HistoryReason::kImport, history::HistoryTimeNow()) != history::KeepOutcome::kFailed;
    context.model.ReplaceProfile(profile, *record);
    context.edited();
    const std::wstring said = Format(IDS_STATUS_IMPORTED, profile + 1, WideFromAnsi(*path).c_str());
    context.say(kept ? said : said + L" " + Text(IDS_STATUS_HISTORY_NOT_KEPT));
}

void ExportProfileToFile(HWND owner, PageContext& context, int profile) {
    const std::optional<std::string> path = ChooseFile(owner, context, true);
    if (!path) return;
    // The dialog asked before an existing file is replaced.
    const editing::ExportOutcome outcome =
        editing::ExportProfileFile(context.model.ShownProfile(profile), *path, ini::SystemIniStorage(), true);
    const std::wstring shown = WideFromAnsi(*path);
    if (outcome != editing::ExportOutcome::kWritten) {
        context.say(Format(IDS_STATUS_EXPORT_FAILED, profile + 1, shown.c_str()));
        return;
    }
    bool edited = false;
    for (const EditItem& item : context.model.Edits()) {
        edited = edited || (item.kind != EditItem::Kind::kCurrentProfile && item.profile == profile);
    }
    context.say(Format(edited ? IDS_STATUS_EXPORTED_EDITS : IDS_STATUS_EXPORTED, profile + 1, shown.c_str()));
}

}  // namespace brenik::option
