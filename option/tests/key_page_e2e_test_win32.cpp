// The "Keys and macros" page of Brenik Option.exe under Wine against the real Monitor.exe and
// the virtual keyboard: a key picked by pressing it, a standard key remapped and an assignable
// key given a single key with a modifier, each applied and read back from the keyboard's trace
// and the shared block, and a value the settings tool would refuse refused here too.

#include "option_driver_win32.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brenik::option {
namespace {

using namespace test_driver;

// Places in the profile's `standardkey` table, as the keyboard's key map orders them.
constexpr int kCapsLockIndex = 29;
constexpr std::uint8_t kLeftCtrlUsage = 0xE0;

constexpr const wchar_t* kPressButtonText = L"Press the &key you want to change";

// Picks a list box's item as a click does: the selection, then its notice to the page.
void ChooseListItem(HWND list, int item) {
    SendMessageW(list, LB_SETCURSEL, item, 0);
    SendMessageW(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

std::wstring ListItem(HWND list, int item) {
    wchar_t text[128] = {};
    SendMessageW(list, LB_GETTEXT, item, reinterpret_cast<LPARAM>(text));
    return text;
}

// A key as the user presses it: down and up, with its virtual-key and its scan code.
void PressKey(WORD virtualKey, WORD scanCode, bool extended = false) {
    INPUT input[2] = {};
    for (INPUT& one : input) {
        one.type = INPUT_KEYBOARD;
        one.ki.wVk = virtualKey;
        one.ki.wScan = scanCode;
        one.ki.dwFlags = extended ? KEYEVENTF_EXTENDEDKEY : 0;
    }
    input[1].ki.dwFlags |= KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
}

class KeyPageEndToEnd : public OptionEndToEnd {
protected:
    HWND OpenOnKeyPage(int profile) {
        Install();
        StartMonitor();
        if (HasFatalFailure()) return nullptr;
        PostMessageA(FindWindowA(nullptr, kTitleMonitor), WM_COMMAND, kTrayConfiguration, 0);
        const HWND window = WaitForWindow();
        if (window == nullptr) return nullptr;
        ChooseProfile(window, profile);
        if (!ShowTab(window, kKeysPage)) return nullptr;
        return window;
    }
};

// "Press the key you want to change", then a key: the panel names the key it picks. Tab and
// the function row (the numbered keys 1..12) are taken as keys, not as the dialog's; Esc
// cancels and leaves the pick as it was.
TEST_F(KeyPageEndToEnd, PressingAKeyPicksIt) {
    const HWND window = OpenOnKeyPage(0);
    ASSERT_NE(window, nullptr);
    const HWND press = Control(window, kPressKey);
    const HWND picked = Control(window, kPickedKey);
    EXPECT_EQ(TextOf(press), kPressButtonText);
    struct Row {
        WORD virtualKey;
        WORD scanCode;
        const wchar_t* named;
    } const rows[] = {
        {'Q', 0x10, L"Q"},
        {VK_TAB, 0x0F, L"Tab"},
        {VK_F5, 0x3F, L"Key 5"},
        {VK_ESCAPE, 0x01, L"Key 5"},  // cancelled: still the last one
    };
    for (const Row& row : rows) {
        Click(press);
        SetForegroundWindow(window);
        SetFocus(press);
        ASSERT_TRUE(test::WaitUntil([&] { return GetForegroundWindow() == window; }, 5000));
        PressKey(row.virtualKey, row.scanCode);
        EXPECT_TRUE(test::WaitUntil([&] { return TextOf(picked) == row.named && TextOf(press) == kPressButtonText; }, 5000))
            << Narrow(row.named) << ": the panel says " << Narrow(TextOf(picked)) << ", the button " << Narrow(TextOf(press));
    }
    EXPECT_TRUE(test::SaveWindowImage(window, Shot("option-keys-key-5-picked")));
}

// "Find a key:" picks the key whose name holds what is typed: a whole name before a part of
// one, the numbered keys by "Key N"; a name no key has is said and picks nothing.
TEST_F(KeyPageEndToEnd, TypingANamePicksTheKey) {
    const HWND window = OpenOnKeyPage(0);
    ASSERT_NE(window, nullptr);
    const HWND find = Control(window, kFindKey);
    const HWND picked = Control(window, kPickedKey);
    for (const auto& [typed, named] : {std::pair<const wchar_t*, const wchar_t*>{L"caps", L"Caps Lock"},
                                       {L"q", L"Q"},
                                       {L"key 40", L"Key 40"},
                                       {L"no such key", L"Key 40"}}) {
        SetText(find, typed);
        EXPECT_EQ(TextOf(picked), named) << Narrow(typed);
    }
    EXPECT_EQ(TextOf(Control(window, kStatus)), L"No key is named \"no such key\".");
}

// Caps Lock given Left Ctrl from the list of codes: Apply sends that profile's key map and the
// token, and the block holds the new code at Caps Lock's place.
TEST_F(KeyPageEndToEnd, ARemappedStandardKeySendsTheKeyMap) {
    const int profile = 1;
    const HWND window = OpenOnKeyPage(profile);
    ASSERT_NE(window, nullptr);
    test::SharedBlockPeer block;
    ASSERT_TRUE(block.Open());
    const HWND caps = Control(window, kStandardKeyBase + kCapsLockIndex);
    EXPECT_EQ(TextOf(caps), L"Caps Lock");
    Click(caps);
    EXPECT_EQ(TextOf(Control(window, kPickedKey)), L"Caps Lock");

    SetText(Control(window, kCodeSearch), L"left ctrl");
    const HWND list = Control(window, kSendsList);
    ASSERT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 1);
    EXPECT_EQ(ListItem(list, 0), L"Left Ctrl");
    ChooseListItem(list, 0);
    EXPECT_EQ(TextOf(caps), L"Caps Lock, sends Left Ctrl") << "its name says what it does now";
    Sleep(300);  // painted
    EXPECT_TRUE(test::SaveWindowImage(window, Shot("option-keys-caps-lock-remapped")));

    // Caps Lock and Left Ctrl now send the same code: the window asks before it applies.
    ASSERT_EQ(keyboard.Command("trace clear"), 0);
    ClickAsking(Control(window, kApply));
    ASSERT_TRUE(AnswerQuestion(IDYES)) << "the question about two keys sending one code";
    EXPECT_TRUE(test::WaitUntil([&] { return ButtonsEnabled(window) && StatusIs(window, kSaved); }, kAnswerTimeoutMs))
        << Narrow(TextOf(Control(window, kStatus)));
    const std::vector<std::string> writes = SettingsWrites(keyboard);
    ASSERT_EQ(writes.size(), 2u) << Joined(writes);
    EXPECT_EQ(writes[0], "SET standard-keys profile=1");
    EXPECT_EQ(writes[1].rfind("SET sync-token", 0), 0u) << writes[1];
    const std::unique_ptr<StateRecord> state = block.Read();
    ASSERT_NE(state, nullptr);
    EXPECT_EQ(state->Profiles[profile].standardkey[kCapsLockIndex], kLeftCtrlUsage);

    // Restored: the key sends its own code again, and that is an edit to apply.
    Click(Control(window, kRestoreKey));
    EXPECT_EQ(TextOf(caps), L"Caps Lock");

    // Locked on the switches page: the key says so (and carries a padlock).
    ASSERT_TRUE(ShowTab(window, kSwitchesPage));
    Click(Control(window, kLockCaps));
    ASSERT_TRUE(ShowTab(window, kKeysPage));
    EXPECT_EQ(TextOf(caps), L"Caps Lock, locked");
    Sleep(300);  // painted
    EXPECT_TRUE(test::SaveWindowImage(window, Shot("option-keys-caps-lock-locked")));
}

// Key 5 given "A single key" with Left Ctrl and A: Apply sends the key block of keys 1..12 of
// that profile and the token; the block holds the single key with its modifier byte.
TEST_F(KeyPageEndToEnd, ANumberedKeyGivenASingleKeySendsItsKeyBlock) {
    const int profile = 3;
    const int entry = 4;
    const HWND window = OpenOnKeyPage(profile);
    ASSERT_NE(window, nullptr);
    test::SharedBlockPeer block;
    ASSERT_TRUE(block.Open());
    const HWND key = Control(window, kBankKeyBase + entry);
    EXPECT_EQ(TextOf(key), L"Key 5");
    Click(key);
    EXPECT_EQ(TextOf(Control(window, kPickedKey)), L"Key 5");

    Choose(Control(window, kDoes), 1);  // a single key
    Click(Control(window, kModifierLeftCtrl));
    SetText(Control(window, kCodeSearch), L"0x04");
    const HWND list = Control(window, kSendsList);
    ASSERT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 1);
    ChooseListItem(list, 0);
    EXPECT_EQ(TextOf(key), L"Key 5: sends Ctrl+A");
    Sleep(300);  // painted
    EXPECT_TRUE(test::SaveWindowImage(window, Shot("option-keys-key-5-single")));

    const std::vector<std::string> writes = ApplyAndWait(window);
    ASSERT_EQ(writes.size(), 2u) << Joined(writes);
    EXPECT_EQ(writes[0], "SET key-functions-0-11 profile=3");
    EXPECT_EQ(writes[1].rfind("SET sync-token", 0), 0u) << writes[1];
    const std::unique_ptr<StateRecord> state = block.Read();
    ASSERT_NE(state, nullptr);
    const MacroKeyInfo& info = state->Profiles[profile].MacroKeyInfo[entry];
    EXPECT_EQ(info.FunctionType, 0xB8);
    EXPECT_EQ(info.Actions[0].KeyCode, 0x04);
    EXPECT_EQ(info.Actions[0].EventType, 0x01) << "Left Ctrl is bit 0 of the modifier byte";
}

// A program path longer than the record holds is refused as the settings tool refuses it: the
// text stays, the status line says why, and Apply writes nothing until it is mended.
TEST_F(KeyPageEndToEnd, AValueTheToolRefusesIsRefusedHere) {
    const HWND window = OpenOnKeyPage(0);
    ASSERT_NE(window, nullptr);
    Click(Control(window, kBankKeyBase + 5));
    Choose(Control(window, kDoes), 3);  // start a program
    const std::wstring tooLong = L"C:\\" + std::wstring(300, L'x') + L".exe";
    const HWND path = Control(window, kProgramPath);
    SetText(path, tooLong);
    EXPECT_EQ(TextOf(path), tooLong);
    const std::wstring said = TextOf(Control(window, kStatus));
    EXPECT_EQ(said.rfind(L"Key 6 not changed: program path of 1 to 259 characters", 0), 0u) << Narrow(said);
    EXPECT_EQ(TextOf(Control(window, kBankKeyBase + 5)), L"Key 6") << "nothing stored";

    ASSERT_EQ(keyboard.Command("trace clear"), 0);
    Click(Control(window, kApply));
    const std::wstring refused = TextOf(Control(window, kStatus));
    EXPECT_EQ(refused.rfind(L"Not applied. Fix this first: Key 6 not changed", 0), 0u) << Narrow(refused);
    Sleep(500);
    EXPECT_TRUE(SettingsWrites(keyboard).empty());
}

}  // namespace
}  // namespace brenik::option
