// Brenik Option.exe under Wine against the real monitor and the virtual keyboard: the History
// page lists a kept copy of the profiles with what differs from the keyboard's, and "Restore
// this" brings it back as the keyboard, the shared block and the history then see it.

#include "option_driver_win32.h"

#include "copy_differences.h"
#include "history_folder.h"
#include "ini_storage.h"
#include "profile_history.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brenik::option {
namespace {

using namespace test_driver;

constexpr int kUndo = 1009;
constexpr int kHistoryColumns = 3;
// The message box's text, a static of this id.
constexpr int kMessageBoxText = 0xFFFF;
constexpr const wchar_t* kReadBackKept = L" Profiles read from the keyboard; the previous ones are kept in History";

std::string Lines(const std::vector<std::wstring>& lines) {
    std::string text;
    for (const std::wstring& line : lines) text += Narrow(line) + "\n";
    return text;
}

// The value of `key` in a profile file's text replaced.
bool SetValue(std::string& file, const std::string& key, const std::string& value) {
    const std::size_t at = file.find("\n" + key + "=");
    if (at == std::string::npos) return false;
    const std::size_t from = at + key.size() + 2;
    file.replace(from, file.find_first_of("\r\n", from) - from, value);
    return true;
}

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

class HistoryPageTest : public OptionEndToEnd {
protected:
    history::ProfileHistory& History() {
        if (!history_) {
            history_ = std::make_unique<history::ProfileHistory>(install->Folder(), ini::SystemIniStorage(),
                                                                 history::SystemHistoryFolder());
        }
        return *history_;
    }

    // A copy as the monitor keeps one before a read-back: the profile files the monitor saved,
    // profile 2 then named "Raid" with another green.
    history::HistoryCopy KeepReadBackCopy() {
        history::HistoryCopy copy = History().Current(history::HistoryTimeNow(), history::HistoryReason::kReadBack);
        for (history::HistoryFile& file : copy.files) {
            if (file.name != "config\\Default1.cmp") continue;
            EXPECT_TRUE(SetValue(file.bytes, "ProFileName", "Raid")) << file.bytes;
            EXPECT_TRUE(SetValue(file.bytes, "LtColorGreen", "77")) << file.bytes;
        }
        CreateDirectoryA(History().Folder().c_str(), nullptr);
        EXPECT_TRUE(test::WriteTextFile(History().Folder() + history::HistoryFileName(copy.when, copy.reason),
                                        history::EncodeHistoryCopy(copy)));
        return copy;
    }

    std::unique_ptr<history::ProfileHistory> history_;
    test::SharedBlockPeer block;
    test::ChildProcess program;
};

// A copy kept before the keyboard's settings were read back, restored from the History page over
// a change not applied yet: the keyboard gets exactly what differs, the history keeps the
// profiles as they were, and Undo could take it back.
TEST_F(HistoryPageTest, RestoresAKeptCopyAndSendsTheKeyboardWhatDiffers) {
    ASSERT_NO_FATAL_FAILURE(Install());
    ASSERT_NO_FATAL_FAILURE(StartMonitor());
    ASSERT_TRUE(block.Open());
    ASSERT_TRUE(test::FileExists(install->ProfileFile(1))) << "the monitor saved the profiles at its first sync";
    const history::HistoryCopy copy = KeepReadBackCopy();
    const std::wstring when = Wide(copy.when.local);

    // Opened within a day of a read-back copy: the status line says where the profiles before are.
    ASSERT_TRUE(program.Start(install->Folder() + kOptionExe, ""));
    const HWND window = WaitForWindow();
    ASSERT_NE(window, nullptr);
    // After what the window says as it loads (the profiles shown; here also config.ini's display settings).
    const std::wstring opened = TextOf(Control(window, kStatus));
    EXPECT_EQ(opened.rfind(L"The keyboard's settings are shown.", 0), 0u) << Narrow(opened);
    const std::wstring notice = kReadBackKept;
    EXPECT_TRUE(opened.size() > notice.size() && opened.compare(opened.size() - notice.size(), notice.size(), notice) == 0)
        << Narrow(opened);

    // A change of profile 1 not applied yet, which the copy's profile 1 replaces.
    SetText(Control(window, ColumnId(0, kColumnName)), L"Mine");

    ASSERT_TRUE(ShowTab(window, kHistoryPage));
    const HWND list = Control(window, kHistoryList);
    RemoteListView rows(list);
    ASSERT_TRUE(rows.Valid());
    const std::vector<std::wstring> before = rows.Lines(kHistoryColumns);
    ASSERT_EQ(before, std::vector<std::wstring>{when + L" | the keyboard's settings were read back | Profile 2: name, lighting"})
        << Lines(before);
    EXPECT_EQ(TextOf(Control(window, kHistoryWhere)),
              L"The copies are kept in " + Wide(History().Folder()) + L": the last 20, at most 4 MB in all.");
    EXPECT_FALSE(IsWindowEnabled(Control(window, kHistoryRestore))) << "no copy picked yet";
    ASSERT_TRUE(rows.Select(0));
    ASSERT_TRUE(IsWindowEnabled(Control(window, kHistoryRestore)));
    Sleep(300);  // painted
    EXPECT_TRUE(test::SaveWindowImage(window, Shot("option-history-copies")));

    // Asked first, naming the copy and the change it replaces.
    ASSERT_EQ(keyboard.Command("trace clear"), 0);
    ClickAsking(Control(window, kHistoryRestore));
    HWND box = nullptr;
    ASSERT_TRUE(test::WaitUntil([&] { return (box = FindWindowA("#32770", kWindowTitle)) != nullptr; }, 5000));
    const std::wstring question = TextOf(GetDlgItem(box, kMessageBoxText));
    EXPECT_EQ(question.rfind(L"Restore the copy of " + when + L" (the keyboard's settings were read back)?", 0), 0u)
        << Narrow(question);
    EXPECT_NE(question.find(L"Your changes that are not applied yet are replaced."), std::wstring::npos) << Narrow(question);
    ASSERT_TRUE(AnswerQuestion(IDYES));

    const std::wstring restored = L"Restored the copy of " + when + L"; Undo takes it back. " + kSaved;
    ASSERT_TRUE(test::WaitUntil([&] { return ButtonsEnabled(window) && StatusIs(window, restored); }, kAnswerTimeoutMs))
        << Narrow(TextOf(Control(window, kStatus)));
    const std::vector<std::string> writes = SettingsWrites(keyboard);
    ASSERT_EQ(writes.size(), 2u) << Joined(writes);
    EXPECT_EQ(writes[0], "SET lighting profile=1");
    EXPECT_EQ(writes[1].rfind("SET sync-token", 0), 0u) << writes[1];
    const std::unique_ptr<StateRecord> state = block.Read();
    EXPECT_STREQ(state->Profiles[1].ProFileName, "Raid");
    EXPECT_EQ(state->Profiles[1].LtColorGreen, 77);
    EXPECT_STREQ(state->Profiles[0].ProFileName, "Default1") << "the change not applied was replaced";
    EXPECT_TRUE(IsWindowEnabled(Control(window, kUndo)));

    // The profiles as they were before the restore are the newest copy, and the list says so.
    const std::vector<history::HistoryEntry> kept = History().List();
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(kept[0].copy.reason, history::HistoryReason::kRestore);
    EXPECT_EQ(history::DifferencesFromNow(kept[0].copy, *state).Text(), "Profile 2: name, lighting");
    const std::vector<std::wstring> after = rows.Lines(kHistoryColumns);
    ASSERT_EQ(after.size(), 2u) << Lines(after);
    EXPECT_EQ(after[0], Wide(kept[0].copy.when.local) + L" | restored | Profile 2: name, lighting");
    EXPECT_EQ(after[1], when + L" | the keyboard's settings were read back | the same as now");
    Sleep(300);
    EXPECT_TRUE(test::SaveWindowImage(window, Shot("option-history-restored")));
}

}  // namespace
}  // namespace brenik::option
