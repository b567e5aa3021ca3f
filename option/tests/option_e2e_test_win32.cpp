// Brenik Option.exe under Wine against the real Monitor.exe and the virtual keyboard, driven as
// a user would through window messages: what an Apply sends to the keyboard (read from the
// keyboard's trace) and when the buttons come back, the tray's start and a second start, the
// keyboard's own changes reaching the window, and the refusals (no monitor, no keyboard, a
// name the code page cannot hold). Pictures of every page go to --shots.

#include "option_driver_win32.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brenik::option {
namespace {

using namespace test_driver;


// The tray starts the program, every page is pictured, an Apply sends exactly its reports and
// greys the buttons until the monitor's answer, the keyboard's profile key moves the mark, an
// edited value survives the keyboard's own change of it, a second start brings the first
// window forward, and a name the code page cannot hold is refused at the field.
TEST_F(OptionEndToEnd, AppliesWhatTheUserChangedAndFollowsTheKeyboard) {
    ASSERT_NO_FATAL_FAILURE(Install());
    ASSERT_NO_FATAL_FAILURE(StartMonitor());
    test::SharedBlockPeer block;
    ASSERT_TRUE(block.Open());

    // "Configuration" in the tray menu.
    ASSERT_EQ(FindOptionWindow(), nullptr);
    const HWND monitorWindow = FindWindowA(nullptr, kTitleMonitor);
    ASSERT_NE(monitorWindow, nullptr);
    PostMessageA(monitorWindow, WM_COMMAND, kTrayConfiguration, 0);
    const HWND window = WaitForWindow();
    ASSERT_NE(window, nullptr) << "the tray's Configuration started no window";
    char title[128] = {};
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ(title, kWindowTitle);
    EXPECT_FALSE(IsWindowVisible(Control(window, kMonitorBar))) << "the monitor runs: no bar";
    EXPECT_FALSE(IsWindowVisible(Control(window, kStartMonitor)));
    EXPECT_TRUE(ButtonsEnabled(window));

    for (int page = 0; page < kPageCount; ++page) {
        ASSERT_TRUE(ShowTab(window, page)) << kPages[page].shot;
        Sleep(300);  // painted
        EXPECT_TRUE(test::SaveWindowImage(window, Shot(kPages[page].shot))) << kPages[page].shot;
    }

    // Every page has been shown, so every control exists: each one Tab reaches has a name.
    EXPECT_EQ(UnnamedControls(window), std::vector<int>{});

    // What a screen reader says for a button and a labelled entry, where the system gives
    // another process's controls an accessible object at all.
    for (const auto& [id, name] : {std::pair<int, const wchar_t*>{kApply, L"Apply"}, {kKeyHex, L"Key hex:"}}) {
        if (const std::optional<std::wstring> said = AccessibleName(Control(window, id))) {
            EXPECT_EQ(*said, name) << id;
        } else {
            std::printf("no accessible object for control %d: its name is not checked here\n", id);
        }
    }

    // A colour of profile 3 on the lighting page: that profile's lighting report and the token.
    const int profile = 2;
    ChooseProfile(window, profile);
    ASSERT_TRUE(ShowTab(window, kLightingPage));
    SetText(Control(window, kKeyHex), L"FF8000");
    ASSERT_EQ(keyboard.Command("trace clear"), 0);
    Click(Control(window, kApply));
    EXPECT_TRUE(ButtonsGreyed(window)) << "OK, Apply and Restore wait for the monitor's answer";
    ASSERT_TRUE(test::WaitUntil([&] { return ButtonsEnabled(window); }, kAnswerTimeoutMs)) << "1256 came";
    EXPECT_TRUE(StatusIs(window, kSaved)) << Narrow(TextOf(Control(window, kStatus)));
    const std::vector<std::string> writes = SettingsWrites(keyboard);
    ASSERT_EQ(writes.size(), 2u) << Joined(writes);
    EXPECT_EQ(writes[0], "SET lighting profile=2");
    EXPECT_EQ(writes[1].rfind("SET sync-token", 0), 0u) << writes[1];
    {
        const std::unique_ptr<StateRecord> state = block.Read();
        EXPECT_EQ(state->Profiles[profile].LtColorRed, 0xFF);
        EXPECT_EQ(state->Profiles[profile].LtColorGreen, 0x80);
        EXPECT_EQ(state->Profiles[profile].LtColorBlue, 0x00);
    }

    // Profile key 4 on the keyboard: the monitor tells the window, the mark moves to column 4.
    ASSERT_TRUE(ShowTab(window, kProfilesPage));
    ASSERT_EQ(keyboard.Command("profile 4"), 0);
    EXPECT_TRUE(test::WaitUntil([&] { return IsWindowVisible(Control(window, ColumnId(3, kColumnCurrent))) != FALSE; },
                                kAnswerTimeoutMs));
    for (int p = 0; p < 5; ++p) {
        EXPECT_EQ(IsWindowVisible(Control(window, ColumnId(p, kColumnCurrent))) != FALSE, p == 3) << "column " << p + 1;
    }

    // The lighting control being edited while the keyboard changes it: the user's value stays, marked.
    ChooseProfile(window, 3);
    ASSERT_TRUE(ShowTab(window, kLightingPage));
    Sleep(300);  // painted
    const HWND editedLabel = Control(window, kLightControlLabel);
    const HWND otherLabel = Control(window, kLightSavingLabel);
    const std::string editedBefore = PictureOf(editedLabel, Shot("label-light-control-before"));
    const std::string otherBefore = PictureOf(otherLabel, Shot("label-saving-before"));
    ASSERT_FALSE(editedBefore.empty());
    SetText(Control(window, kLightControlEdit), L"77");
    ASSERT_EQ(keyboard.Command("lighting 5"), 0);
    EXPECT_TRUE(test::WaitUntil([&] { return block.Read()->Profiles[3].LtControl == 5; }, kAnswerTimeoutMs));
    EXPECT_TRUE(test::WaitUntil([&] { return StatusIs(window, kKeyboardChanged); }, kAnswerTimeoutMs))
        << Narrow(TextOf(Control(window, kStatus)));
    EXPECT_EQ(TextOf(Control(window, kLightControlEdit)), L"77");
    Sleep(300);  // painted
    // The edited value's label is drawn in another font (the same text, other pixels); the
    // unedited one beside it is drawn as before.
    EXPECT_NE(PictureOf(editedLabel, Shot("label-light-control-after")), editedBefore) << "the edit is marked";
    EXPECT_EQ(PictureOf(otherLabel, Shot("label-saving-after")), otherBefore);
    EXPECT_TRUE(test::SaveWindowImage(window, Shot("option-lighting-kept-edit")));

    // A name the system's code page cannot hold: refused at the field, Apply writes nothing.
    ASSERT_TRUE(ShowTab(window, kProfilesPage));
    const std::string nameBefore = block.Read()->Profiles[1].ProFileName;
    SetText(Control(window, ColumnId(1, kColumnName)), L"Raid \u03A9");
    const std::wstring refusal = TextOf(Control(window, kStatus));
    Sleep(300);  // painted
    EXPECT_NE(refusal.find(L"\u03A9"), std::wstring::npos) << Narrow(refusal);
    EXPECT_NE(refusal.find(L"code page"), std::wstring::npos) << Narrow(refusal);
    ASSERT_EQ(keyboard.Command("trace clear"), 0);
    Click(Control(window, kApply));
    EXPECT_EQ(TextOf(Control(window, kStatus)).rfind(L"Not applied. Fix this first: ", 0), 0u)
        << Narrow(TextOf(Control(window, kStatus)));
    EXPECT_TRUE(ButtonsEnabled(window)) << "nothing was sent, nothing to wait for";
    Sleep(1000);
    EXPECT_EQ(std::string(block.Read()->Profiles[1].ProFileName), nameBefore);
    EXPECT_TRUE(SettingsWrites(keyboard).empty());
    Sleep(300);  // painted
    EXPECT_TRUE(test::SaveWindowImage(window, Shot("option-profiles-refused-name")));
    SetText(Control(window, ColumnId(1, kColumnName)), L"Raid");

    // A second start brings the minimised first window forward, restored, and ends.
    ShowWindow(window, SW_MINIMIZE);
    ASSERT_TRUE(test::WaitUntil([&] { return IsIconic(window) != FALSE; }, 5000));
    EXPECT_EQ(test::RunToEnd(install->Folder() + kOptionExe, ""), 0);
    EXPECT_TRUE(test::WaitUntil([&] { return IsIconic(window) == FALSE; }, 5000)) << "restored";
    EXPECT_EQ(CountOptionWindows(), 1);
    EXPECT_EQ(FindOptionWindow(), window);
}

// The keyboard pulled out: the monitor answers at once and the status says where the change is.
TEST_F(OptionEndToEnd, AppliesWithTheKeyboardUnplugged) {
    ASSERT_NO_FATAL_FAILURE(Install());
    ASSERT_NO_FATAL_FAILURE(StartMonitor());
    test::SharedBlockPeer block;
    ASSERT_TRUE(block.Open());
    ASSERT_EQ(keyboard.Command("unplug"), 0);
    ASSERT_TRUE(test::WaitUntil([&] { return install->DeviceKey() == 0; }, kStartTimeoutMs));

    test::ChildProcess program;
    ASSERT_TRUE(program.Start(install->Folder() + kOptionExe, ""));
    const HWND window = WaitForWindow();
    ASSERT_NE(window, nullptr);
    ChooseProfile(window, 1);
    ASSERT_TRUE(ShowTab(window, kLightingPage));
    SetText(Control(window, kKeyHex), L"00FF40");
    Click(Control(window, kApply));
    ASSERT_TRUE(test::WaitUntil([&] { return ButtonsEnabled(window); }, 5000)) << "1256 at once";
    EXPECT_TRUE(StatusIs(window, kNotConnected)) << Narrow(TextOf(Control(window, kStatus)));
    EXPECT_EQ(block.Read()->Profiles[1].LtColorGreen, 0xFF);
}

// No monitor: the bar says so, and an Apply writes nothing anywhere.
TEST_F(OptionEndToEnd, WritesNothingWithoutTheMonitor) {
    ASSERT_NO_FATAL_FAILURE(Install());
    ASSERT_EQ(FindWindowA(nullptr, kTitleMonitor), nullptr);

    test::ChildProcess program;
    ASSERT_TRUE(program.Start(install->Folder() + kOptionExe, ""));
    const HWND window = WaitForWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsWindowVisible(Control(window, kMonitorBar)));
    EXPECT_TRUE(IsWindowVisible(Control(window, kStartMonitor)));
    Sleep(300);  // painted
    EXPECT_TRUE(test::SaveWindowImage(window, Shot("option-no-monitor")));

    ASSERT_TRUE(ShowTab(window, kLightingPage));
    SetText(Control(window, kKeyHex), L"123456");
    Click(Control(window, kApply));
    EXPECT_TRUE(test::WaitUntil([&] { return StatusIs(window, kNoMonitor); }, 5000))
        << Narrow(TextOf(Control(window, kStatus)));
    EXPECT_TRUE(ButtonsEnabled(window));
    Sleep(500);
    EXPECT_EQ(OpenFileMappingA(FILE_MAP_READ, FALSE, kSharedBlockName), nullptr) << "no shared block made";
    EXPECT_FALSE(test::FileExists(install->ConfigIni()));
    for (int n = 0; n < 5; ++n) EXPECT_FALSE(test::FileExists(install->ProfileFile(n))) << n;
}

// The user's other changes, each as the keyboard, the block and the other programs see it: a
// part of one profile copied onto another, another profile made current, the display's
// settings, the whole keyboard restored; an apply while the settings tool makes a change
// writes nothing; closing with a change not applied asks first.
TEST_F(OptionEndToEnd, TakesTheOtherChangesThroughTheMonitor) {
    ASSERT_NO_FATAL_FAILURE(Install());
    ASSERT_NO_FATAL_FAILURE(StartMonitor());
    test::SharedBlockPeer block;
    ASSERT_TRUE(block.Open());
    test::ChildProcess program;
    ASSERT_TRUE(program.Start(install->Folder() + kOptionExe, ""));
    const HWND window = WaitForWindow();
    ASSERT_NE(window, nullptr);

    // Profile 1's lighting copied onto profile 4: only profile 4's lighting goes to the keyboard.
    ChooseProfile(window, 0);
    ASSERT_TRUE(ShowTab(window, kLightingPage));
    SetText(Control(window, kKeyHex), L"123456");
    ApplyAndWait(window);
    ASSERT_TRUE(ShowTab(window, kProfilesPage));
    Choose(Control(window, kCopySection), kSectionLighting);
    Choose(Control(window, kCopyFrom), 0);
    Choose(Control(window, kCopyTo), 3);
    ClickAsking(Control(window, kCopy));
    ASSERT_TRUE(AnswerQuestion(IDOK)) << "the copy asks first";
    std::vector<std::string> writes = ApplyAndWait(window);
    ASSERT_EQ(writes.size(), 2u) << Joined(writes);
    EXPECT_EQ(writes[0], "SET lighting profile=3");
    EXPECT_EQ(block.Read()->Profiles[3].LtColorGreen, 0x34);

    // Profile 2 made current: the keyboard is told, the block holds it, the mark moves.
    Click(Control(window, ColumnId(1, kColumnMakeCurrent)));
    writes = ApplyAndWait(window);
    ASSERT_FALSE(writes.empty());
    EXPECT_EQ(writes[0].rfind("SET current-profile", 0), 0u) << Joined(writes);
    EXPECT_EQ(block.Read()->CurrentProfile, 1);
    EXPECT_TRUE(IsWindowVisible(Control(window, ColumnId(1, kColumnCurrent))));

    // The display's settings: config.ini's record, which the monitor reads again on 1224 and
    // hands to the display (its time in the high half of 1326's lParam, the distance low).
    ASSERT_TRUE(ShowTab(window, kDisplayPage));
    Click(Control(window, kNoticeVolume));
    SetText(Control(window, kNoticeTimeEdit), L"30");
    SetText(Control(window, kNoticeDistanceEdit), L"120");
    peers.Clear();
    ApplyAndWait(window);
    ASSERT_TRUE(peers.WaitFor(kDisplayTitle, kMsgDisplaySettings, 1, kAnswerTimeoutMs));
    for (const test::PeerWindows::Received& received : peers.Log()) {
        if (received.message != kMsgDisplaySettings) continue;
        EXPECT_EQ(received.lParam, (30 << 16) | 120);
    }
    {
        unsigned char record[344] = {};
        const ini::CIniFile config(install->ConfigIni());
        ASSERT_TRUE(config.ReadStruct("OSDSetting", "config", record, sizeof record));
        std::int32_t volume = 0, time = 0, distance = 0;
        std::memcpy(&volume, record + 24, 4);
        std::memcpy(&time, record + 28, 4);
        std::memcpy(&distance, record + 32, 4);
        EXPECT_EQ(volume, 1);
        EXPECT_EQ(time, 30);
        EXPECT_EQ(distance, 120);
    }

    // Restore: asked first, then the whole-keyboard command.
    ASSERT_EQ(keyboard.Command("trace clear"), 0);
    ClickAsking(Control(window, kRestore));
    ASSERT_TRUE(AnswerQuestion(IDOK)) << "the restore asks first";
    EXPECT_TRUE(test::WaitUntil([&] { return ButtonsEnabled(window) && StatusIs(window, kSaved); }, kAnswerTimeoutMs))
        << Narrow(TextOf(Control(window, kStatus)));
    writes = SettingsWrites(keyboard);
    ASSERT_FALSE(writes.empty());
    EXPECT_EQ(writes[0].rfind("SET whole-keyboard", 0), 0u) << Joined(writes);

    // A settings-tool run holds its mutex: the apply writes nothing and says why.
    ASSERT_TRUE(ShowTab(window, kLightingPage));
    ChooseProfile(window, 4);
    SetText(Control(window, kKeyHex), L"0000FF");
    {
        // The window has the mutex open since its first apply: it is taken by a wait, as the tool does.
        const win32::ScopedHandle toolRun(CreateMutexA(nullptr, FALSE, kToolMutex));
        ASSERT_TRUE(toolRun.Valid());
        ASSERT_EQ(WaitForSingleObject(toolRun.Get(), 5000), WAIT_OBJECT_0);
        ASSERT_EQ(keyboard.Command("trace clear"), 0);
        Click(Control(window, kApply));
        EXPECT_TRUE(StatusIs(window, kToolBusy)) << Narrow(TextOf(Control(window, kStatus)));
        EXPECT_NE(block.Read()->Profiles[4].LtColorBlue, 0xFF) << "nothing written";
        EXPECT_TRUE(SettingsWrites(keyboard).empty());
        ReleaseMutex(toolRun.Get());
    }

    // Closing with that change not applied asks; "Cancel" keeps the window, "OK" closes it.
    ClickAsking(Control(window, IDCANCEL));
    ASSERT_TRUE(AnswerQuestion(IDCANCEL)) << "closing with a change asks first";
    EXPECT_NE(FindOptionWindow(), nullptr);
    ClickAsking(Control(window, IDCANCEL));
    ASSERT_TRUE(AnswerQuestion(IDOK));
    EXPECT_TRUE(test::WaitUntil([] { return FindOptionWindow() == nullptr; }, 5000));
    EXPECT_NE(block.Read()->Profiles[4].LtColorBlue, 0xFF) << "the change was dropped";
}

}  // namespace
}  // namespace brenik::option
