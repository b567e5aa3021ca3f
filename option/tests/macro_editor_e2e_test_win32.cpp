// The macro editor of Brenik Option.exe under Wine against the real Monitor.exe and the virtual
// keyboard: opened from the "Keys and macros" page for a numbered key, a macro recorded from
// the keyboard, tried out, named and applied; read back from the keyboard's trace and the
// shared block. Pictures of the editor go to --shots.

#include "macro_editor_driver_win32.h"
#include "option_driver_win32.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brenik::option {
namespace {

using namespace test_driver;
namespace editor_driver = macro_editor_driver;

// What the key page and the record hold, by value.
constexpr int kEditMacro = 1922;          // the key page's "Edit macro..." button
constexpr int kDoesMacro = 2;             // "A macro" in the key page's list of what a key does
constexpr std::uint8_t kFunctionMacro = 0xBE;
constexpr std::uint8_t kPress = 1;
constexpr std::uint8_t kRelease = 2;
constexpr std::uint8_t kUsageA = 0x04;
constexpr std::uint8_t kUsageB = 0x05;

// Key 3 of profile 2 becomes a macro typed on the keyboard, "ab": Apply sends exactly that
// key's block (keys 1..12), its macro and the token, and the block holds the four actions
// with the delays as typed; the try-out box shows what the macro types.
TEST_F(OptionEndToEnd, AMacroRecordedInTheEditorReachesTheKeyboard) {
    const int profile = 1;
    const int entry = 2;
    ASSERT_NO_FATAL_FAILURE(Install());
    ASSERT_NO_FATAL_FAILURE(StartMonitor());
    test::SharedBlockPeer block;
    ASSERT_TRUE(block.Open());
    PostMessageA(FindWindowA(nullptr, kTitleMonitor), WM_COMMAND, kTrayConfiguration, 0);
    const HWND window = WaitForWindow();
    ASSERT_NE(window, nullptr);
    ChooseProfile(window, profile);
    ASSERT_TRUE(ShowTab(window, kKeysPage));

    Click(Control(window, kBankKeyBase + entry));
    EXPECT_EQ(TextOf(Control(window, kPickedKey)), L"Key 3");
    Choose(Control(window, kDoes), kDoesMacro);
    const HWND editButton = Control(window, kEditMacro);
    ASSERT_TRUE(IsWindowEnabled(editButton)) << "the editor is wired";
    ClickAsking(editButton);  // the editor is modal: a sent click would wait for it to close
    HWND editor = nullptr;
    ASSERT_TRUE(test::WaitUntil([&] { return (editor = editor_driver::FindEditor(L"Macro for key 3 of profile 2")) != nullptr; },
                                5000));
    ASSERT_TRUE(test::WaitUntil([&] { return IsWindowVisible(editor) != FALSE; }, 5000));
    Sleep(300);  // painted
    EXPECT_TRUE(test::SaveWindowImage(editor, Shot("option-macro-editor")));
    EXPECT_EQ(UnnamedControls(editor), std::vector<int>{}) << "every control Tab reaches has a name";

    // Record, "ab" on the keyboard, Stop.
    const auto item = [&](int id) { return GetDlgItem(editor, id); };
    Click(item(editor_driver::kRecord));
    SetForegroundWindow(editor);
    ASSERT_TRUE(test::WaitUntil([&] { return GetForegroundWindow() == editor; }, 5000));
    editor_driver::TypeKeys({'A', 'B'}, 60);
    ASSERT_TRUE(test::WaitUntil(
        [&] { return TextOf(item(editor_driver::kStatus)).find(L"4 actions so far") != std::wstring::npos; }, 5000))
        << Narrow(TextOf(item(editor_driver::kStatus)));
    Click(item(editor_driver::kRecord));
    const HWND list = item(editor_driver::kActions);
    ASSERT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 4);
    EXPECT_EQ(TextOf(item(editor_driver::kStatus)), L"Recorded 4 actions with their delays as pressed.");
    EXPECT_EQ(TextOf(item(editor_driver::kMeterText)), L"4 of 400 actions");
    Sleep(300);  // painted
    EXPECT_TRUE(test::SaveWindowImage(editor, Shot("option-macro-editor-recorded")));

    // Tried out: the box shows what the macro types.
    Click(item(editor_driver::kPlay));
    EXPECT_TRUE(test::WaitUntil([&] { return TextOf(item(editor_driver::kTry)) == L"ab"; }, 5000))
        << Narrow(TextOf(item(editor_driver::kTry)));
    EXPECT_TRUE(test::WaitUntil([&] { return TextOf(item(editor_driver::kStatus)) == L"Played 4 actions."; }, 5000));

    SetText(item(editor_driver::kName), L"Ab macro");
    Click(item(IDOK));
    ASSERT_TRUE(test::WaitUntil([&] { return editor_driver::FindEditor(L"Macro for key 3 of profile 2") == nullptr; }, 5000))
        << Narrow(TextOf(item(editor_driver::kStatus)));

    const std::vector<std::string> writes = ApplyAndWait(window);
    ASSERT_EQ(writes.size(), 3u) << Joined(writes);
    EXPECT_EQ(writes[0], "SET key-functions-0-11 profile=1");
    EXPECT_EQ(writes[1], "SET macro profile=1 key=2 actions=4");
    EXPECT_EQ(writes[2].rfind("SET sync-token", 0), 0u) << writes[2];
    const std::unique_ptr<StateRecord> state = block.Read();
    ASSERT_NE(state, nullptr);
    const MacroKeyInfo& info = state->Profiles[profile].MacroKeyInfo[entry];
    EXPECT_EQ(info.FunctionType, kFunctionMacro);
    EXPECT_STREQ(info.MacroName, "Ab macro");
    ASSERT_EQ(info.ActionCount, 4);
    const struct {
        std::uint8_t usage;
        std::uint8_t event;
    } expected[] = {{kUsageA, kPress}, {kUsageA, kRelease}, {kUsageB, kPress}, {kUsageB, kRelease}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(info.Actions[i].KeyCode, expected[i].usage) << i;
        EXPECT_EQ(info.Actions[i].EventType, expected[i].event) << i;
        // Typed 60 ms apart; the last action has nothing after it.
        if (i < 3) {
            EXPECT_GE(info.Actions[i].DelayMs, 40) << i;
            EXPECT_LT(info.Actions[i].DelayMs, 2000) << i;
        } else {
            EXPECT_EQ(info.Actions[i].DelayMs, 0);
        }
    }
}

}  // namespace
}  // namespace brenik::option
