// Brenik Option.exe under Wine against the real Monitor.exe and the virtual keyboard, driven as
// a user would through window messages: what an Apply sends to the keyboard (read from the
// keyboard's trace) and when the buttons come back, the tray's start and a second start, the
// keyboard's own changes reaching the window, and the refusals (no monitor, no keyboard, a
// name the code page cannot hold). Pictures of every page go to --shots.

#include "ini_file.h"
#include "keyboard_trace_win32.h"
#include "monitor_installation_win32.h"
#include "monitor_window_win32.h"
#include "peer_messages.h"
#include "program_windows.h"
#include "running_monitor_win32.h"
#include "shared_block_peer_win32.h"
#include "state_record.h"
#include "window_capture.h"
#include "window_controls_win32.h"
#include "wine_test_support.h"

#include <windows.h>
#include <commctrl.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <cstdio>

#include <fstream>
#include <iterator>
#include <memory>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace brenik::option {
namespace {

const test::MonitorPrograms g_programs = test::MonitorProgramsFromArguments();
const std::string g_option = test::ArgumentPath("option");
const std::string g_shots = test::OutputFolder("shots");

// What other programs and the user rely on, by value.
constexpr const char* kWindowTitle = "Brenik Gaming Keyboard Option";
constexpr const char* kWindowClass = "BrenikOptionWindow";
constexpr const char* kOptionExe = "Brenik Option.exe";
constexpr UINT kTrayConfiguration = 6001;  // WM_COMMAND id of the tray menu's "Configuration"
constexpr const wchar_t* kSaved = L"Saved on the keyboard.";
constexpr const wchar_t* kNotConnected = L"The keyboard is not connected: saved, it gets the change when it is.";
constexpr const wchar_t* kNoMonitor = L"The monitor is not running: nothing was written.";
constexpr const wchar_t* kKeyboardChanged = L"The keyboard changed a value you are editing; yours is kept and marked.";

// Control ids of the window (option_resources.h), as the test finds them.
constexpr int kMonitorBar = 1001;
constexpr int kStartMonitor = 1002;
constexpr int kProfileChoice = 1004;
constexpr int kTabs = 1005;
constexpr int kStatus = 1006;
constexpr int kRestore = 1007;
constexpr int kApply = 1008;
constexpr int kColumnBase = 1100;
constexpr int kColumnStride = 20;
constexpr int kColumnName = 3;
constexpr int kColumnCurrent = 8;
constexpr int kKeyHex = 1303;
constexpr int kLightControlLabel = 1318;
constexpr int kLightControlEdit = 1319;
constexpr int kLightSavingLabel = 1322;
constexpr int kLockCaps = 1404;
constexpr int kNoticeProfile = 1501;
constexpr int kNoticeVolume = 1504;
constexpr int kNoticeTimeEdit = 1511;
constexpr int kNoticeDistanceEdit = 1515;
constexpr int kColumnMakeCurrent = 9;
constexpr int kCopySection = 1202;
constexpr int kCopyFrom = 1204;
constexpr int kCopyTo = 1206;
constexpr int kCopy = 1207;
constexpr int kSectionLighting = 1;  // the copy list's second item
constexpr const char* kDisplayTitle = "Brenik_Gaming_Keyboard_OSD";
constexpr const char* kToolMutex = "Brenik_Gaming_Keyboard_Settings_Tool";
constexpr UINT kMsgDisplaySettings = 1326;
constexpr const wchar_t* kToolBusy =
    L"The settings tool (BrenikSettings.exe) is making a change: nothing was written. Apply again in a moment.";

constexpr DWORD kStartTimeoutMs = 15000;
constexpr DWORD kFirstSyncTimeoutMs = 60000;
constexpr DWORD kAnswerTimeoutMs = 15000;

int ColumnId(int profile, int offset) { return kColumnBase + profile * kColumnStride + offset; }

HWND FindOptionWindow() { return FindWindowA(kWindowClass, kWindowTitle); }

int CountOptionWindows() {
    int count = 0;
    EnumWindows(
        [](HWND window, LPARAM counter) {
            char name[64] = {};
            GetClassNameA(window, name, sizeof name);
            if (std::string(name) == kWindowClass) ++*reinterpret_cast<int*>(counter);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

// A control anywhere in the window (the pages are child dialogs), by its id.
HWND Control(HWND top, int id) { return brenik::test::FindControl(top, id); }

std::wstring TextOf(HWND window) {
    const LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

void SetText(HWND control, const std::wstring& text) {
    SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void Click(HWND button) { SendMessageW(button, BM_CLICK, 0, 0); }
// For a button that asks first: its message box would hold a sent click.
void ClickAsking(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

// The window's own question, a message box of its title, answered with a button; false when
// none came or it stayed.
bool AnswerQuestion(int button) {
    HWND box = nullptr;
    if (!test::WaitUntil([&] { return (box = FindWindowA("#32770", kWindowTitle)) != nullptr; }, 5000)) return false;
    PostMessageA(box, WM_COMMAND, button, 0);
    return test::WaitUntil([] { return FindWindowA("#32770", kWindowTitle) == nullptr; }, 5000);
}

void Choose(HWND combo, int item) {
    SendMessageW(combo, CB_SETCURSEL, item, 0);
    SendMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
}

// The name a screen reader reads for a control; nullopt when no accessible object comes for it
// (Wine's oleacc answers E_NOINTERFACE for another process's controls).
std::optional<std::wstring> AccessibleName(HWND control) {
    IAccessible* accessible = nullptr;
    if (FAILED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                          reinterpret_cast<void**>(&accessible))) ||
        accessible == nullptr) {
        return std::nullopt;
    }
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    std::wstring text;
    if (SUCCEEDED(accessible->get_accName(self, &name)) && name != nullptr) {
        text = name;
        SysFreeString(name);
    }
    accessible->Release();
    return text;
}

// What the screen shows of a control, as the bytes of its picture.
std::string PictureOf(HWND control, const std::string& bmpPath) {
    RECT rect{};
    GetWindowRect(control, &rect);
    if (!test::SaveScreenRect(rect, bmpPath)) return "";
    std::ifstream in(bmpPath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A control of each page that shows only with it.
struct PageMark {
    const char* shot;
    int controlId;
};
const PageMark kPages[] = {
    {"option-profiles", ColumnId(0, kColumnName)},
    {"option-lighting", kKeyHex},
    {"option-keys-locked-sounds-repeat", kLockCaps},
    {"option-on-screen-display", kNoticeProfile},
};

// Switches pages as the keyboard does: the tab next to the wanted one selected, then an arrow.
// The name a screen reader gives a control the user reaches with Tab: its own text for a
// button or check box, else the text of the static label just before it (how the system
// names an edit, a list or a slider). Empty when neither gives one.
std::wstring NameSource(HWND control) {
    wchar_t kind[64] = {};
    GetClassNameW(control, kind, 64);
    if (_wcsicmp(kind, L"Button") == 0) return TextOf(control);
    const HWND before = GetWindow(control, GW_HWNDPREV);
    if (before == nullptr) return L"";
    GetClassNameW(before, kind, 64);
    return _wcsicmp(kind, L"Static") == 0 ? TextOf(before) : L"";
}

// Every control of the window and its pages that takes the focus by Tab and has no name; the
// tab control is named by its tabs.
std::vector<int> UnnamedControls(HWND top) {
    std::vector<HWND> controls;
    EnumChildWindows(
        top,
        [](HWND child, LPARAM list) {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&controls));
    std::vector<int> unnamed;
    for (const HWND control : controls) {
        wchar_t kind[64] = {};
        GetClassNameW(control, kind, 64);
        if ((GetWindowLongW(control, GWL_STYLE) & WS_TABSTOP) == 0 || _wcsicmp(kind, WC_TABCONTROLW) == 0) continue;
        if (NameSource(control).empty()) unnamed.push_back(GetDlgCtrlID(control));
    }
    return unnamed;
}

bool ShowTab(HWND top, int index) {
    const HWND tabs = Control(top, kTabs);
    SendMessageW(tabs, TCM_SETCURSEL, index == 0 ? 1 : index - 1, 0);
    PostMessageW(tabs, WM_KEYDOWN, index == 0 ? VK_LEFT : VK_RIGHT, 0);
    // A page is made when it is first shown: its control is looked for each time.
    return test::WaitUntil([&] { return IsWindowVisible(Control(top, kPages[index].controlId)) != FALSE; }, 5000);
}

void ChooseProfile(HWND top, int profile) {
    const HWND combo = Control(top, kProfileChoice);
    SendMessageW(combo, CB_SETCURSEL, profile, 0);
    SendMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(kProfileChoice, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

bool ButtonsEnabled(HWND top) {
    return IsWindowEnabled(Control(top, IDOK)) && IsWindowEnabled(Control(top, kApply)) &&
           IsWindowEnabled(Control(top, kRestore));
}
bool ButtonsGreyed(HWND top) {
    return !IsWindowEnabled(Control(top, IDOK)) && !IsWindowEnabled(Control(top, kApply)) &&
           !IsWindowEnabled(Control(top, kRestore));
}

bool StatusIs(HWND top, const std::wstring& text) { return TextOf(Control(top, kStatus)) == text; }

using test::Joined;
using test::SettingsWrites;

std::string Shot(const std::string& name) { return g_shots + name + ".bmp"; }

// A monitor installed with the settings program beside it, the keyboard plugged in.
class OptionEndToEnd : public ::testing::Test {
protected:
    OptionEndToEnd() : keyboard(g_programs.tools, "BrenikOptionE2E"), peers({kTitleVolumeController, kDisplayTitle}) {}
    ~OptionEndToEnd() override {
        if (const HWND window = FindOptionWindow()) PostMessageA(window, WM_CLOSE, 0, 0);
        test::WaitUntil([] { return FindOptionWindow() == nullptr; }, 5000);
    }

    void Install() {
        ASSERT_TRUE(keyboard.Start()) << "virtual keyboard server";
        install = std::make_unique<test::MonitorInstallation>("option-e2e", g_programs.monitor, g_programs.kbhid, keyboard.Pipe());
        ASSERT_TRUE(test::CopyInto(g_option, install->Folder()));
        ASSERT_TRUE(test::FileExists(install->Folder() + kOptionExe));
    }
    void StartMonitor() {
        ASSERT_TRUE(monitor.Launch(install->Monitor()));
        ASSERT_TRUE(test::WaitUntil([&] { return install->DeviceKey() == 1; }, kStartTimeoutMs));
        ASSERT_TRUE(peers.WaitFor(kTitleVolumeController, kMsgVolumeSyncDone, 1, kFirstSyncTimeoutMs)) << "first synchronisation";
    }
    // Apply, then the monitor's answer; the keyboard's writes in between.
    std::vector<std::string> ApplyAndWait(HWND window) {
        EXPECT_EQ(keyboard.Command("trace clear"), 0);
        Click(Control(window, kApply));
        EXPECT_TRUE(test::WaitUntil([&] { return ButtonsEnabled(window) && StatusIs(window, kSaved); }, kAnswerTimeoutMs))
            << Narrow(TextOf(Control(window, kStatus)));
        return SettingsWrites(keyboard);
    }
    // Waits for the window and for its first read of the block.
    HWND WaitForWindow() {
        HWND window = nullptr;
        test::WaitUntil([&] { return (window = FindOptionWindow()) != nullptr && IsWindowVisible(window); }, kStartTimeoutMs);
        if (window != nullptr) test::WaitUntil([&] { return !TextOf(Control(window, kStatus)).empty(); }, kStartTimeoutMs);
        return window;
    }

    test::VirtualKeyboardServer keyboard;
    test::PeerWindows peers;
    std::unique_ptr<test::MonitorInstallation> install;
    test::RunningMonitor monitor;
};

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

    for (int page = 0; page < 4; ++page) {
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
    ASSERT_TRUE(ShowTab(window, 1));
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
    ASSERT_TRUE(ShowTab(window, 0));
    ASSERT_EQ(keyboard.Command("profile 4"), 0);
    EXPECT_TRUE(test::WaitUntil([&] { return IsWindowVisible(Control(window, ColumnId(3, kColumnCurrent))) != FALSE; },
                                kAnswerTimeoutMs));
    for (int p = 0; p < 5; ++p) {
        EXPECT_EQ(IsWindowVisible(Control(window, ColumnId(p, kColumnCurrent))) != FALSE, p == 3) << "column " << p + 1;
    }

    // The lighting control being edited while the keyboard changes it: the user's value stays, marked.
    ChooseProfile(window, 3);
    ASSERT_TRUE(ShowTab(window, 1));
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
    ASSERT_TRUE(ShowTab(window, 0));
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
    ASSERT_TRUE(ShowTab(window, 1));
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

    ASSERT_TRUE(ShowTab(window, 1));
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
    ASSERT_TRUE(ShowTab(window, 1));
    SetText(Control(window, kKeyHex), L"123456");
    ApplyAndWait(window);
    ASSERT_TRUE(ShowTab(window, 0));
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
    ASSERT_TRUE(ShowTab(window, 3));
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
    ASSERT_TRUE(ShowTab(window, 1));
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
