// The macro editor in this process, under Wine: the dialog runs on a thread of its own, as it
// runs over the program's window, and the test drives it as a user would, with window messages
// and keys typed through SendInput. What it records from the keyboard (Tab, Enter and Alt
// included), every edit step, what it refuses, and what the try-out box shows when the macro
// plays. Pictures of the dialog go to --shots.

#include "macro_editor_driver_win32.h"
#include "macro_editor_win32.h"
#include "window_capture.h"
#include "wine_test_support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace brenik::option {
namespace {

using namespace macro_editor_driver;

const std::string g_shots = test::OutputFolder("shots");

// What the user reads, by value.
constexpr const wchar_t* kTitle = L"Macro for key 5 of profile 1";
constexpr const wchar_t* kStopText = L"Stop re&cording";
constexpr const wchar_t* kRecordText = L"Re&cord";
constexpr const wchar_t* kNotADelay = L"A delay is a whole number of milliseconds from 0 to 65535.";
constexpr std::uint8_t kPress = 1;
constexpr std::uint8_t kRelease = 2;
constexpr std::uint8_t kUsageA = 0x04;
constexpr std::uint8_t kUsageB = 0x05;
constexpr std::uint8_t kUsageX = 0x1B;
constexpr std::uint8_t kUsageEnter = 0x28;
constexpr std::uint8_t kUsageEscape = 0x29;
constexpr std::uint8_t kUsageTab = 0x2B;
constexpr std::uint8_t kUsageF5 = 0x3E;
constexpr std::uint8_t kUsageLeftShift = 0xE1;
constexpr std::uint8_t kUsageLeftAlt = 0xE2;

MacroAction Action(std::uint8_t usage, std::uint8_t event, std::uint16_t delayMs) { return MacroAction{usage, event, delayMs}; }

MacroDraft DraftOf(const std::string& name, std::vector<MacroAction> actions) {
    MacroDraft draft;
    draft.SetName(name);
    draft.SetActions(std::move(actions));
    return draft;
}

bool SameActions(const std::vector<MacroAction>& a, const std::vector<MacroAction>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].KeyCode != b[i].KeyCode || a[i].EventType != b[i].EventType || a[i].DelayMs != b[i].DelayMs) return false;
    }
    return true;
}

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// The editor over no window for key 5 of profile 1, on its own thread, with the system's
// message font as the program gives it.
class MacroEditorTest : public ::testing::Test {
protected:
    MacroEditorTest() {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        font_ = CreateFontIndirectW(&metrics.lfMessageFont);
    }
    ~MacroEditorTest() override {
        if (const HWND editor = FindEditor(kTitle)) PostMessageW(editor, WM_COMMAND, IDCANCEL, 0);
        if (thread_.joinable()) thread_.join();
        DeleteObject(font_);
    }

    HWND Open(MacroDraft& draft) {
        taken_ = false;
        done_ = false;
        thread_ = std::thread([this, &draft] {
            taken_ = EditMacro(nullptr, Fonts{font_, nullptr}, 0, 4, draft);
            done_ = true;
        });
        HWND editor = nullptr;
        test::WaitUntil([&] { return (editor = FindEditor(kTitle)) != nullptr && IsWindowVisible(editor); }, 5000);
        if (editor == nullptr) return nullptr;
        SetForegroundWindow(editor);
        test::WaitUntil([&] { return GetForegroundWindow() == editor; }, 5000);
        return editor;
    }

    // The button (OK or Cancel) clicked; whether the dialog closed and the draft was taken.
    bool CloseWith(HWND editor, int button, bool& taken) {
        SendMessageW(GetDlgItem(editor, button), BM_CLICK, 0, 0);
        if (!test::WaitUntil([&] { return done_.load(); }, 5000)) return false;
        thread_.join();
        taken = taken_;
        return true;
    }

    HWND FocusOf(HWND editor) {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(editor, nullptr), &info);
        return info.hwndFocus;
    }

    static void Click(HWND editor, int id) { SendMessageW(GetDlgItem(editor, id), BM_CLICK, 0, 0); }
    static void Type(HWND editor, int id, const wchar_t* text) { SetDlgItemTextW(editor, id, text); }
    static std::wstring Status(HWND editor) { return ItemText(GetDlgItem(editor, kStatus)); }
    static void Shot(HWND editor, const char* name) {
        Sleep(300);  // painted
        EXPECT_TRUE(test::SaveWindowImage(editor, g_shots + name + ".bmp")) << name;
    }

    HFONT font_ = nullptr;
    std::thread thread_;
    std::atomic<bool> taken_{false};
    std::atomic<bool> done_{false};
};

// Record, the keys typed (Tab, Enter and Alt go into the recording, not to the dialog), Stop:
// the list shows each press and release with its delay as pressed, OK takes them with the name.
TEST_F(MacroEditorTest, RecordsTheKeysTypedWithTheirDelays) {
    MacroDraft draft;
    const HWND editor = Open(draft);
    ASSERT_NE(editor, nullptr) << "no dialog titled \"Macro for key 5 of profile 1\"";
    const HWND list = GetDlgItem(editor, kActions);
    EXPECT_EQ(ItemText(GetDlgItem(editor, kMeterText)), L"0 of 400 actions");
    EXPECT_EQ(ItemText(GetDlgItem(editor, kRecord)), kRecordText);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(editor, kRecordingBox))) << "greyed until Record";
    Shot(editor, "macro-editor-empty");

    Click(editor, kRecord);
    ASSERT_TRUE(test::WaitUntil([&] { return FocusOf(editor) == GetDlgItem(editor, kRecordingBox); }, 2000));
    EXPECT_EQ(ItemText(GetDlgItem(editor, kRecord)), kStopText);
    TypeKeys({'A', VK_TAB, VK_RETURN, VK_MENU, 'B'});
    EXPECT_TRUE(test::WaitUntil(
        [&] { return Status(editor) == L"Recording: type the macro in the box; 10 actions so far. Stop ends it."; }, 3000))
        << Narrow(Status(editor));
    EXPECT_NE(FindEditor(kTitle), nullptr) << "Enter did not take the dialog's OK";
    EXPECT_EQ(FocusOf(editor), GetDlgItem(editor, kRecordingBox)) << "Tab did not move the focus";
    Shot(editor, "macro-editor-recording");

    Click(editor, kRecord);  // now "Stop recording"
    ASSERT_TRUE(test::WaitUntil([&] { return ListView_GetItemCount(list) == 10; }, 2000)) << ListView_GetItemCount(list);
    EXPECT_EQ(ItemText(GetDlgItem(editor, kRecord)), kRecordText);
    EXPECT_NE(FocusOf(editor), GetDlgItem(editor, kRecordingBox));
    EXPECT_EQ(Status(editor), L"Recorded 10 actions with their delays as pressed.");
    EXPECT_EQ(ItemText(GetDlgItem(editor, kMeterText)), L"10 of 400 actions");
    const wchar_t* const keys[] = {L"A", L"Tab", L"Enter", L"Left Alt", L"B"};
    for (int row = 0; row < 10; ++row) {
        EXPECT_EQ(Cell(list, row, 0), std::to_wstring(row + 1));
        EXPECT_EQ(Cell(list, row, 1), row % 2 == 0 ? L"Press" : L"Release") << row;
        EXPECT_EQ(Cell(list, row, 2), keys[row / 2]) << row;
        const int delay = std::stoi(Cell(list, row, 3));
        if (row < 9) {
            EXPECT_GE(delay, 15) << "typed 30 ms apart, row " << row;
        } else {
            EXPECT_EQ(delay, 0) << "nothing follows the last action";
        }
    }
    SelectRow(list, 0);
    Shot(editor, "macro-editor-recorded");

    Type(editor, kName, L"Raid");
    bool taken = false;
    ASSERT_TRUE(CloseWith(editor, IDOK, taken));
    EXPECT_TRUE(taken);
    EXPECT_EQ(draft.Name(), "Raid");
    const std::uint8_t usages[] = {kUsageA, kUsageTab, kUsageEnter, kUsageLeftAlt, kUsageB};
    ASSERT_EQ(draft.Used(), 10u);
    for (std::size_t i = 0; i < 10; ++i) {
        EXPECT_EQ(draft.Actions()[i].KeyCode, usages[i / 2]) << i;
        EXPECT_EQ(draft.Actions()[i].EventType, i % 2 == 0 ? kPress : kRelease) << i;
    }
}

// A fixed delay between every two actions; leaving the box ends the recording as Stop does;
// Cancel leaves the draft as it came although the list was replaced.
TEST_F(MacroEditorTest, RecordsWithAFixedDelayAndCancelKeepsTheDraft) {
    MacroDraft draft = DraftOf("Old", {Action(kUsageX, kPress, 10), Action(kUsageX, kRelease, 0)});
    const MacroDraft before = draft;
    const HWND editor = Open(draft);
    ASSERT_NE(editor, nullptr);
    const HWND list = GetDlgItem(editor, kActions);
    EXPECT_EQ(ItemText(GetDlgItem(editor, kName)), L"Old");
    EXPECT_EQ(Rows(list), (std::vector<std::wstring>{L"1 Press X 10", L"2 Release X 0"}));

    // A fixed delay the record cannot hold is refused before recording starts.
    Click(editor, kFixed);
    Type(editor, kFixedDelay, L"70000");
    Click(editor, kRecord);
    EXPECT_EQ(Status(editor), kNotADelay);
    EXPECT_EQ(ItemText(GetDlgItem(editor, kRecord)), kRecordText);

    Type(editor, kFixedDelay, L"120");
    Click(editor, kRecord);
    ASSERT_TRUE(test::WaitUntil([&] { return FocusOf(editor) == GetDlgItem(editor, kRecordingBox); }, 2000));
    TypeKeys({'A', 'B'});
    ASSERT_TRUE(test::WaitUntil([&] { return Status(editor).find(L"4 actions so far") != std::wstring::npos; }, 3000))
        << Narrow(Status(editor));
    // The focus goes to the name: the recording ends there.
    SendMessageW(editor, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(editor, kName)), TRUE);
    ASSERT_TRUE(test::WaitUntil([&] { return ListView_GetItemCount(list) == 4; }, 2000));
    EXPECT_EQ(Rows(list), (std::vector<std::wstring>{L"1 Press A 120", L"2 Release A 120", L"3 Press B 120",
                                                     L"4 Release B 0"}));
    EXPECT_EQ(Status(editor), L"Recorded 4 actions, 120 ms apart.");
    EXPECT_EQ(ItemText(GetDlgItem(editor, kRecord)), kRecordText);

    // Record and Stop with no key between: the actions stay as they were.
    Click(editor, kRecord);
    ASSERT_TRUE(test::WaitUntil([&] { return FocusOf(editor) == GetDlgItem(editor, kRecordingBox); }, 2000));
    Click(editor, kRecord);
    EXPECT_EQ(Status(editor), L"No key was recorded: the actions are as they were.");
    EXPECT_EQ(ListView_GetItemCount(list), 4);

    bool taken = true;
    ASSERT_TRUE(CloseWith(editor, IDCANCEL, taken));
    EXPECT_FALSE(taken);
    EXPECT_EQ(draft.Name(), before.Name());
    EXPECT_TRUE(SameActions(draft.Actions(), before.Actions()));
}

// Every step of editing: a delay, every delay, an action from the searched key list inserted
// after the selection, moved, deleted; the buttons a selection needs are greyed without one;
// what cannot be done is said.
TEST_F(MacroEditorTest, EditsTheActionsStepByStep) {
    MacroDraft draft = DraftOf("Combo", {Action(kUsageA, kPress, 10), Action(kUsageA, kRelease, 20),
                                         Action(kUsageB, kPress, 30), Action(kUsageB, kRelease, 0)});
    const HWND editor = Open(draft);
    ASSERT_NE(editor, nullptr);
    const HWND list = GetDlgItem(editor, kActions);
    EXPECT_EQ(Rows(list), (std::vector<std::wstring>{L"1 Press A 10", L"2 Release A 20", L"3 Press B 30",
                                                     L"4 Release B 0"}));

    SelectRow(list, 0);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(editor, kMoveUp))) << "the first action goes no higher";
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(editor, kMoveDown)));
    EXPECT_EQ(ItemText(GetDlgItem(editor, kDelay)), L"10") << "the selected action's delay";

    SelectRow(list, 1);
    Type(editor, kDelay, L"99");
    Click(editor, kSetDelay);
    EXPECT_EQ(RowText(list, 1), L"2 Release A 99");
    Type(editor, kDelay, L"70000");
    Click(editor, kSetDelay);
    EXPECT_EQ(Status(editor), kNotADelay);
    EXPECT_EQ(RowText(list, 1), L"2 Release A 99");
    Type(editor, kDelay, L"5");
    Click(editor, kSetEveryDelay);
    EXPECT_EQ(Rows(list), (std::vector<std::wstring>{L"1 Press A 5", L"2 Release A 5", L"3 Press B 5", L"4 Release B 5"}));

    // A key found by its name, released after the first action.
    Type(editor, kFind, L"zzzz");
    EXPECT_EQ(Status(editor), L"No key's name holds \"zzzz\".");
    Click(editor, kInsert);
    EXPECT_EQ(Status(editor), L"Choose the key of the new action.");
    Type(editor, kFind, L"f5");
    EXPECT_EQ(ItemText(GetDlgItem(editor, kKey)), L"F5");
    SendMessageW(GetDlgItem(editor, kEvent), CB_SETCURSEL, 1, 0);
    Type(editor, kNewDelay, L"7");
    SelectRow(list, 0);
    Click(editor, kInsert);
    EXPECT_EQ(RowText(list, 1), L"2 Release F5 7");
    EXPECT_EQ(ItemText(GetDlgItem(editor, kMeterText)), L"5 of 400 actions");

    Click(editor, kMoveDown);  // the new action, selected
    EXPECT_EQ(RowText(list, 2), L"3 Release F5 7");
    EXPECT_EQ(RowText(list, 1), L"2 Release A 5");
    Click(editor, kMoveUp);
    Click(editor, kMoveUp);
    EXPECT_EQ(RowText(list, 0), L"1 Release F5 7");
    Click(editor, kDelete);
    EXPECT_EQ(Rows(list), (std::vector<std::wstring>{L"1 Press A 5", L"2 Release A 5", L"3 Press B 5", L"4 Release B 5"}));
    EXPECT_EQ(ItemText(GetDlgItem(editor, kMeterText)), L"4 of 400 actions");
    SelectRow(list, 3);
    Click(editor, kDelete);
    EXPECT_EQ(ListView_GetItemCount(list), 3);

    // B pressed and never released would stay down after every playback: OK says so and stays.
    Click(editor, IDOK);
    EXPECT_NE(Status(editor).find(L"leaves B pressed"), std::wstring::npos) << Narrow(Status(editor));
    ASSERT_TRUE(IsWindow(editor));
    SelectRow(list, 2);
    Click(editor, kDelete);

    bool taken = false;
    ASSERT_TRUE(CloseWith(editor, IDOK, taken));
    EXPECT_TRUE(taken);
    EXPECT_TRUE(SameActions(draft.Actions(), {Action(kUsageA, kPress, 5), Action(kUsageA, kRelease, 5)}));
}

// OK checks the macro through the editing core and says why it cannot be kept; the dialog
// stays. A name the code page cannot hold is refused at the name.
TEST_F(MacroEditorTest, OkSaysWhyTheMacroCannotBeKept) {
    MacroDraft draft = DraftOf("", {Action(kUsageA, kPress, 0), Action(kUsageA, kRelease, 0)});
    const HWND editor = Open(draft);
    ASSERT_NE(editor, nullptr);
    const std::wstring kNotKept = L"The macro cannot be kept: ";

    Click(editor, IDOK);
    EXPECT_EQ(Status(editor).rfind(kNotKept, 0), 0u) << Narrow(Status(editor));
    EXPECT_EQ(FocusOf(editor), GetDlgItem(editor, kName)) << "the name is what is wrong";
    EXPECT_NE(FindEditor(kTitle), nullptr);

    Type(editor, kName, L"Raid \u03A9");
    Click(editor, IDOK);
    EXPECT_EQ(Status(editor).rfind(L"\"\u03A9\" cannot be stored", 0), 0u) << Narrow(Status(editor));

    Type(editor, kName, L"Raid");
    SelectRow(GetDlgItem(editor, kActions), 0);
    Click(editor, kDelete);
    Click(editor, kDelete);
    Click(editor, IDOK);
    EXPECT_EQ(Status(editor).rfind(kNotKept, 0), 0u) << "no actions: " << Narrow(Status(editor));
    EXPECT_NE(FindEditor(kTitle), nullptr);
    EXPECT_EQ(draft.Name(), "") << "nothing taken before OK succeeds";

    bool taken = true;
    ASSERT_TRUE(CloseWith(editor, IDCANCEL, taken));
    EXPECT_FALSE(taken);
    EXPECT_EQ(draft.Used(), 2u);
}

// What a played macro types stays in the try-out box: a played Escape does not close the
// dialog, and a key the macro never releases is released when it ends. Played again, the box
// starts empty. (What it types is checked end to end.)
TEST_F(MacroEditorTest, APlayedMacroStaysInTheTryOutBoxAndLeavesNoKeyDown) {
    MacroDraft held = DraftOf("Held", {Action(kUsageLeftShift, kPress, 0), Action(kUsageX, kPress, 0),
                                       Action(kUsageX, kRelease, 0), Action(kUsageEscape, kPress, 0),
                                       Action(kUsageEscape, kRelease, 30)});
    const HWND editor = Open(held);
    ASSERT_NE(editor, nullptr);
    const HWND box = GetDlgItem(editor, kTry);
    for (int round = 0; round < 2; ++round) {
        Type(editor, kTry, L"typed before");
        Type(editor, kStatus, L"");
        Click(editor, kPlay);
        EXPECT_TRUE(test::WaitUntil([&] { return Status(editor) == L"Played 5 actions."; }, 3000)) << Narrow(Status(editor));
        EXPECT_TRUE(test::WaitUntil([&] { return ItemText(box) == L"X"; }, 3000)) << round << ": " << Narrow(ItemText(box));
        Sleep(200);
        EXPECT_NE(FindEditor(kTitle), nullptr) << "the played Escape stayed in the box";
        EXPECT_TRUE(test::WaitUntil([] { return (GetAsyncKeyState(VK_SHIFT) & 0x8000) == 0; }, 2000)) << "Shift was left down";
        SetForegroundWindow(editor);
    }
    bool taken = true;
    ASSERT_TRUE(CloseWith(editor, IDCANCEL, taken));
}

}  // namespace
}  // namespace brenik::option
