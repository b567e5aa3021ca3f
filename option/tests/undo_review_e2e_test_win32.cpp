// Brenik Option.exe under Wine against the real monitor and the virtual keyboard: undo and redo
// of the window's edits, the review of what an Apply sends, and a profile written to a file and
// read back into another profile (the profiles before it kept in the history), each as the
// keyboard and the shared block then see it.

#include "option_driver_win32.h"

#include "history_folder.h"
#include "ini_storage.h"
#include "profile_history.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace brenik::option {
namespace {

using namespace test_driver;

// The window's controls these cases use (option_resources.h), by value.
constexpr int kUndo = 1009;
constexpr int kRedo = 1010;
constexpr int kReview = 1011;
constexpr int kFileProfile = 1209;
constexpr int kImport = 1210;
constexpr int kExport = 1211;
constexpr int kReviewList = 2101;
constexpr const wchar_t* kNothingToApply = L"Nothing has changed: there is nothing to apply.";
// The file dialogs' file name box: a combo box (id 0x47C) with an edit, in the system's dialog.
constexpr int kFileNameCombo = 0x47C;

// The modal dialog or message box the window has open over it, by its owner.
HWND OwnedDialog(HWND owner) {
    struct Search {
        HWND owner;
        HWND found;
    } search{owner, nullptr};
    EnumWindows(
        [](HWND candidate, LPARAM data) {
            auto* s = reinterpret_cast<Search*>(data);
            char kind[16] = {};
            GetClassNameA(candidate, kind, sizeof kind);
            if (std::string(kind) == "#32770" && GetWindow(candidate, GW_OWNER) == s->owner && IsWindowVisible(candidate)) {
                s->found = candidate;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Answers the system's open or save dialog with a path.
bool AnswerFileDialog(HWND owner, const std::string& path) {
    HWND dialog = nullptr;
    if (!test::WaitUntil([&] { return (dialog = OwnedDialog(owner)) != nullptr; }, 10000)) return false;
    HWND name = GetDlgItem(dialog, kFileNameCombo);
    if (name != nullptr && FindWindowExA(name, nullptr, "Edit", nullptr) != nullptr) name = FindWindowExA(name, nullptr, "Edit", nullptr);
    if (name == nullptr) name = FindWindowExA(dialog, nullptr, "Edit", nullptr);
    if (name == nullptr) return false;
    SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    return test::WaitUntil([&] { return !IsWindow(dialog); }, 10000);
}

std::vector<std::wstring> ListLines(HWND list) {
    std::vector<std::wstring> lines;
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring line(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data()));
        line.resize(line.size() - 1);
        lines.push_back(line);
    }
    return lines;
}

std::string Lines(const std::vector<std::wstring>& lines) {
    std::string text;
    for (const std::wstring& line : lines) text += Narrow(line) + "\n";
    return text;
}

class UndoAndReview : public OptionEndToEnd {
protected:
    // The monitor with the keyboard, the shared block opened, the program's window.
    HWND Open() {
        Install();
        StartMonitor();
        if (HasFatalFailure() || !block.Open() || !program.Start(install->Folder() + kOptionExe, "")) return nullptr;
        return WaitForWindow();
    }
    test::SharedBlockPeer block;
    test::ChildProcess program;
};

// Edits undone back to the start leave nothing to apply and the keyboard gets nothing; redone,
// the review names exactly the reports the Apply then sends.
TEST_F(UndoAndReview, UndoneToTheStartSendsNothingAndTheReviewListsWhatIsSent) {
    const HWND window = Open();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(IsWindowEnabled(Control(window, kUndo))) << "nothing to undo yet";

    // Two edits of profile 2: its key colour, then its name typed letter by letter.
    ChooseProfile(window, 1);
    ASSERT_TRUE(ShowTab(window, kLightingPage));
    SetText(Control(window, kKeyHex), L"00FF00");
    ASSERT_TRUE(ShowTab(window, kProfilesPage));
    for (const wchar_t* typed : {L"R", L"Ra", L"Rai", L"Raid"}) SetText(Control(window, ColumnId(1, kColumnName)), typed);
    EXPECT_TRUE(IsWindowEnabled(Control(window, kUndo)));

    Click(Control(window, kUndo));  // the name, the whole word
    EXPECT_EQ(TextOf(Control(window, ColumnId(1, kColumnName))), L"Default2");
    Click(Control(window, kUndo));  // the colour
    EXPECT_FALSE(IsWindowEnabled(Control(window, kUndo)));
    EXPECT_TRUE(IsWindowEnabled(Control(window, kRedo)));
    ASSERT_EQ(keyboard.Command("trace clear"), 0);
    Click(Control(window, kApply));
    EXPECT_TRUE(StatusIs(window, kNothingToApply)) << Narrow(TextOf(Control(window, kStatus)));
    Sleep(1000);
    EXPECT_EQ(SettingsWrites(keyboard), std::vector<std::string>{});

    // Redone with Ctrl+Y, as the keyboard gives it to the window.
    SetForegroundWindow(window);
    SetFocus(Control(window, kApply));
    for (int n = 0; n < 2; ++n) {
        INPUT keys[4] = {};
        for (INPUT& key : keys) key.type = INPUT_KEYBOARD;
        keys[0].ki.wVk = VK_CONTROL;
        keys[1].ki.wVk = 'Y';
        keys[2].ki.wVk = 'Y';
        keys[2].ki.dwFlags = KEYEVENTF_KEYUP;
        keys[3].ki.wVk = VK_CONTROL;
        keys[3].ki.dwFlags = KEYEVENTF_KEYUP;
        ASSERT_EQ(SendInput(4, keys, sizeof(INPUT)), 4u);
        Sleep(300);
    }
    ASSERT_TRUE(test::WaitUntil([&] { return TextOf(Control(window, ColumnId(1, kColumnName))) == L"Raid"; }, 5000))
        << Narrow(TextOf(Control(window, ColumnId(1, kColumnName))));

    // The review: the lighting report of profile 2 and the token, the name kept by the monitor.
    ClickAsking(Control(window, kReview));
    HWND review = nullptr;
    ASSERT_TRUE(test::WaitUntil([&] { return (review = OwnedDialog(window)) != nullptr; }, 5000));
    const std::vector<std::wstring> lines = ListLines(GetDlgItem(review, kReviewList));
    Sleep(300);  // painted
    EXPECT_TRUE(test::SaveWindowImage(review, Shot("option-review")));
    ASSERT_EQ(lines.size(), 3u) << Lines(lines);
    EXPECT_EQ(lines[0], L"Profile 2, the lighting (report 11)");
    EXPECT_EQ(lines[1].rfind(L"A new sync token", 0), 0u) << Lines(lines);
    EXPECT_EQ(lines[2], L"No report: Profile 2, name: kept by the monitor");
    // Its Apply applies.
    ASSERT_EQ(keyboard.Command("trace clear"), 0);
    PostMessageW(review, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(test::WaitUntil([&] { return ButtonsEnabled(window) && StatusIs(window, kSaved); }, kAnswerTimeoutMs))
        << Narrow(TextOf(Control(window, kStatus)));
    const std::vector<std::string> writes = SettingsWrites(keyboard);
    ASSERT_EQ(writes.size(), 2u) << Joined(writes);
    EXPECT_EQ(writes[0], "SET lighting profile=1");
    EXPECT_EQ(writes[1].rfind("SET sync-token", 0), 0u);
    const std::unique_ptr<StateRecord> state = block.Read();
    EXPECT_EQ(state->Profiles[1].LtColorGreen, 0xFF);
    EXPECT_STREQ(state->Profiles[1].ProFileName, "Raid");
}

// A profile written to a file and read into another profile: the file is the monitor's own
// format, and the imported profile reaches the keyboard on Apply.
TEST_F(UndoAndReview, ExportsAProfileAndImportsItIntoAnother) {
    const HWND window = Open();
    ASSERT_NE(window, nullptr);

    // Profile 1 with a colour not applied yet, written to a file: the file has the colour.
    ChooseProfile(window, 0);
    ASSERT_TRUE(ShowTab(window, kLightingPage));
    SetText(Control(window, kKeyHex), L"102030");
    ASSERT_TRUE(ShowTab(window, kProfilesPage));
    Choose(Control(window, kFileProfile), 0);
    const std::string file = install->Folder() + "exported.cmp";
    ClickAsking(Control(window, kExport));
    ASSERT_TRUE(AnswerFileDialog(window, file));
    ASSERT_TRUE(test::WaitUntil([&] { return test::FileExists(file); }, 5000));
    EXPECT_NE(TextOf(Control(window, kStatus)).find(L"with your changes not applied yet"), std::wstring::npos)
        << Narrow(TextOf(Control(window, kStatus)));
    {
        std::ifstream in(file);
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_NE(text.find("LtColorRed=16"), std::string::npos) << text;
        EXPECT_NE(text.find("ProFileName=Default1"), std::string::npos);
    }
    Click(Control(window, kUndo));  // profile 1 stays as it is

    // Read into profile 4 and applied: its lighting and its name, nothing of profile 1.
    Choose(Control(window, kFileProfile), 3);
    ClickAsking(Control(window, kImport));
    ASSERT_TRUE(AnswerFileDialog(window, file));
    ASSERT_TRUE(test::WaitUntil([&] { return TextOf(Control(window, ColumnId(3, kColumnName))) == L"Default1"; }, 5000));
    // The profile files as they were before the import are kept in the history.
    const std::vector<history::HistoryEntry> kept =
        history::ProfileHistory(install->Folder(), ini::SystemIniStorage(), history::SystemHistoryFolder()).List();
    ASSERT_FALSE(kept.empty());  // the newest; the monitor may keep its own copies too
    EXPECT_EQ(kept[0].copy.reason, history::HistoryReason::kImport);
    const history::HistoryFile* before = kept[0].copy.Find("config\\Default3.cmp");
    ASSERT_NE(before, nullptr);
    EXPECT_NE(before->bytes.find("ProFileName=Default4"), std::string::npos);
    const std::vector<std::string> writes = ApplyAndWait(window);
    ASSERT_EQ(writes.size(), 2u) << Joined(writes);
    EXPECT_EQ(writes[0], "SET lighting profile=3");
    const std::unique_ptr<StateRecord> state = block.Read();
    EXPECT_EQ(state->Profiles[3].LtColorRed, 0x10);
    EXPECT_EQ(state->Profiles[3].LtColorBlue, 0x30);
    EXPECT_STREQ(state->Profiles[3].ProFileName, "Default1");
    EXPECT_EQ(state->Profiles[0].LtColorRed, 255) << "profile 1 as it was";
}

}  // namespace
}  // namespace brenik::option
