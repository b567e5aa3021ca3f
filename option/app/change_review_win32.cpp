#include "change_review_win32.h"

#include "ansi_text_win32.h"
#include "apply_review.h"
#include "key_conflicts.h"
#include "option_resources.h"
#include "option_strings_win32.h"

#include <windows.h>

#include <algorithm>

namespace brenik::option {
namespace {

bool FileThere(const std::string& ansiPath) {
    const DWORD attributes = GetFileAttributesA(ansiPath.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::vector<int> EditedProfiles(const SettingsModel& model) {
    std::vector<int> profiles;
    for (const EditItem& item : model.Edits()) {
        if (item.kind == EditItem::Kind::kCurrentProfile) continue;
        if (std::find(profiles.begin(), profiles.end(), item.profile) == profiles.end()) profiles.push_back(item.profile);
    }
    return profiles;
}

}  // namespace

std::vector<std::wstring> NewConflictLines(const SettingsModel& model) {
    std::vector<std::wstring> lines;
    const auto applied = model.Preview();
    for (const KeyConflict& conflict : NewKeyConflicts(model.LoadedRecord(), *applied, EditedProfiles(model), FileThere)) {
        lines.push_back(WideFromAnsi(conflict.text));
    }
    return lines;
}

std::vector<std::wstring> ReviewLines(const SettingsModel& model, const DisplaySettingsModel& display) {
    std::vector<std::wstring> lines;
    for (const std::wstring& conflict : NewConflictLines(model)) lines.push_back(Format(IDS_REVIEW_WARNINGS, conflict.c_str()));
    const auto applied = model.Preview();
    std::vector<std::wstring> staying;
    std::vector<ReviewLine> review = ReviewApply(model.LoadedRecord(), *applied);
    if (review.empty() && display.HasEdits()) review.push_back(TokenLine());
    for (const ReviewLine& line : review) {
        const std::wstring text = WideFromAnsi(line.text);
        if (line.report != 0) lines.push_back(text);
        else staying.push_back(Format(IDS_REVIEW_STAYS, text.c_str()));
    }
    lines.insert(lines.end(), staying.begin(), staying.end());
    if (display.HasEdits()) lines.push_back(Text(IDS_REVIEW_DISPLAY));
    if (lines.empty()) lines.push_back(Text(IDS_REVIEW_NOTHING));
    return lines;
}

}  // namespace brenik::option
