#pragma once
// Drives Brenik Option.exe from a test under Wine as a user would: its window and controls by
// their ids, the words it shows, its questions, its tabs; and the fixture of a monitor installed
// with the program beside it and the virtual keyboard plugged in. Every value here that the
// window or another program relies on is written out, so a change in the program fails a test.

#include "ini_file.h"
#include "keyboard_trace_win32.h"
#include "monitor_installation_win32.h"
#include "monitor_window_win32.h"
#include "peer_messages.h"
#include "program_windows.h"
#include "running_monitor_win32.h"
#include "scoped_handle.h"
#include "shared_block_peer_win32.h"
#include "state_record.h"
#include "window_capture.h"
#include "window_controls_win32.h"
#include "wine_test_support.h"
#include <windows.h>
#include <commctrl.h>
#include <oleacc.h>
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace brenik::option::test_driver {

namespace test = ::brenik::test;


inline const test::MonitorPrograms g_programs = test::MonitorProgramsFromArguments();
inline const std::string g_option = test::ArgumentPath("option");
inline const std::string g_shots = test::OutputFolder("shots");

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
constexpr int kSectionLighting = 1;
// The key page: a drawn key per standard key (base + its index) and per numbered key (base +
// its entry), and the panel that changes the picked one.
constexpr int kStandardKeyBase = 1700;
constexpr int kBankKeyBase = 1800;
constexpr int kPickedKey = 1902;
constexpr int kPressKey = 1903;
constexpr int kFindKey = 1905;
constexpr int kDoes = 1908;
constexpr int kCodeSearch = 1910;
constexpr int kSendsList = 1912;
constexpr int kModifierLeftCtrl = 1913;
constexpr int kProgramPath = 1924;
constexpr int kRestoreKey = 1930;  // the copy list's second item
// The history page.
constexpr int kHistoryList = 2201;
constexpr int kHistoryWhere = 2202;
constexpr int kHistoryRestore = 2203;
constexpr const char* kDisplayTitle = "Brenik_Gaming_Keyboard_OSD";
constexpr const char* kToolMutex = "Brenik_Gaming_Keyboard_Settings_Tool";
constexpr UINT kMsgDisplaySettings = 1326;
constexpr const wchar_t* kToolBusy =
    L"The settings tool (BrenikSettings.exe) is making a change: nothing was written. Apply again in a moment.";

constexpr DWORD kStartTimeoutMs = 15000;
constexpr DWORD kFirstSyncTimeoutMs = 60000;
constexpr DWORD kAnswerTimeoutMs = 15000;

inline int ColumnId(int profile, int offset) { return kColumnBase + profile * kColumnStride + offset; }

inline HWND FindOptionWindow() { return FindWindowA(kWindowClass, kWindowTitle); }

inline int CountOptionWindows() {
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
inline HWND Control(HWND top, int id) { return brenik::test::FindControl(top, id); }

inline std::wstring TextOf(HWND window) {
    const LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

inline std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

inline void SetText(HWND control, const std::wstring& text) {
    SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

inline void Click(HWND button) { SendMessageW(button, BM_CLICK, 0, 0); }
// For a button that asks first: its message box would hold a sent click.
inline void ClickAsking(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

// The window's own question, a message box of its title, answered with a button; false when
// none came or it stayed.
inline bool AnswerQuestion(int button) {
    HWND box = nullptr;
    if (!test::WaitUntil([&] { return (box = FindWindowA("#32770", kWindowTitle)) != nullptr; }, 5000)) return false;
    PostMessageA(box, WM_COMMAND, button, 0);
    return test::WaitUntil([] { return FindWindowA("#32770", kWindowTitle) == nullptr; }, 5000);
}

inline void Choose(HWND combo, int item) {
    SendMessageW(combo, CB_SETCURSEL, item, 0);
    SendMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
}

// The name a screen reader reads for a control; nullopt when no accessible object comes for it
// (Wine's oleacc answers E_NOINTERFACE for another process's controls).
inline std::optional<std::wstring> AccessibleName(HWND control) {
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
inline std::string PictureOf(HWND control, const std::string& bmpPath) {
    RECT rect{};
    GetWindowRect(control, &rect);
    if (!test::SaveScreenRect(rect, bmpPath)) return "";
    std::ifstream in(bmpPath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A list view's item in another process: the item and its text buffer have to be in that
// process's memory, as the system passes a list view message's pointer on as it is.
class RemoteListView {
public:
    explicit RemoteListView(HWND list) : list_(list) {
        DWORD id = 0;
        GetWindowThreadProcessId(list, &id);
        process_.Reset(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, id));
        if (process_.Valid()) {
            memory_ = static_cast<std::uint8_t*>(
                VirtualAllocEx(process_.Get(), nullptr, sizeof(LVITEMW) + kTextBytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        }
    }
    ~RemoteListView() {
        if (memory_ != nullptr) VirtualFreeEx(process_.Get(), memory_, 0, MEM_RELEASE);
    }
    RemoteListView(const RemoteListView&) = delete;
    RemoteListView& operator=(const RemoteListView&) = delete;

    bool Valid() const { return memory_ != nullptr; }
    int Rows() const { return static_cast<int>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0)); }

    std::wstring Cell(int row, int column) {
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = reinterpret_cast<wchar_t*>(memory_ + sizeof(LVITEMW));
        item.cchTextMax = kTextBytes / sizeof(wchar_t);
        if (!Put(item)) return L"?";
        const LRESULT length = SendMessageW(list_, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(memory_));
        std::wstring text(static_cast<std::size_t>(std::max<LRESULT>(length, 0)), L'\0');
        if (length > 0 && !ReadProcessMemory(process_.Get(), memory_ + sizeof(LVITEMW), text.data(), text.size() * sizeof(wchar_t), nullptr)) {
            return L"?";
        }
        return text;
    }

    // Every row, its cells joined by " | ".
    std::vector<std::wstring> Lines(int columns) {
        std::vector<std::wstring> lines;
        for (int row = 0; row < Rows(); ++row) {
            std::wstring line;
            for (int column = 0; column < columns; ++column) line += (column ? L" | " : L"") + Cell(row, column);
            lines.push_back(line);
        }
        return lines;
    }

    // As a click on the row: it is selected and focused, and the page hears LVN_ITEMCHANGED.
    bool Select(int row) {
        LVITEMW item{};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        return Put(item) && SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(memory_));
    }

private:
    static constexpr std::size_t kTextBytes = 4096;
    bool Put(const LVITEMW& item) {
        return memory_ != nullptr && WriteProcessMemory(process_.Get(), memory_, &item, sizeof item, nullptr);
    }

    HWND list_;
    win32::ScopedHandle process_;
    std::uint8_t* memory_ = nullptr;
};

// The tabs, in their order.
constexpr int kProfilesPage = 0;
constexpr int kKeysPage = 1;
constexpr int kLightingPage = 2;
constexpr int kSwitchesPage = 3;
constexpr int kDisplayPage = 4;
constexpr int kHistoryPage = 5;
constexpr int kPageCount = 6;

// A control of each page that shows only with it, in the order of the tabs.
struct PageMark {
    const char* shot;
    int controlId;
};
inline const PageMark kPages[] = {
    {"option-profiles", ColumnId(0, kColumnName)},
    {"option-keys-and-macros", kPressKey},
    {"option-lighting", kKeyHex},
    {"option-keys-locked-sounds-repeat", kLockCaps},
    {"option-on-screen-display", kNoticeProfile},
    {"option-history", kHistoryList},
};

// Switches pages as the keyboard does: the tab next to the wanted one selected, then an arrow.
// The name a screen reader gives a control the user reaches with Tab: its own text for a
// button or check box, else the text of the static label just before it (how the system
// names an edit, a list or a slider). Empty when neither gives one.
inline std::wstring NameSource(HWND control) {
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
inline std::vector<int> UnnamedControls(HWND top) {
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

inline bool ShowTab(HWND top, int index) {
    const HWND tabs = Control(top, kTabs);
    SendMessageW(tabs, TCM_SETCURSEL, index == 0 ? 1 : index - 1, 0);
    PostMessageW(tabs, WM_KEYDOWN, index == 0 ? VK_LEFT : VK_RIGHT, 0);
    // A page is made when it is first shown: its control is looked for each time.
    return test::WaitUntil([&] { return IsWindowVisible(Control(top, kPages[index].controlId)) != FALSE; }, 5000);
}

inline void ChooseProfile(HWND top, int profile) {
    const HWND combo = Control(top, kProfileChoice);
    SendMessageW(combo, CB_SETCURSEL, profile, 0);
    SendMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(kProfileChoice, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

inline bool ButtonsEnabled(HWND top) {
    return IsWindowEnabled(Control(top, IDOK)) && IsWindowEnabled(Control(top, kApply)) &&
           IsWindowEnabled(Control(top, kRestore));
}
inline bool ButtonsGreyed(HWND top) {
    return !IsWindowEnabled(Control(top, IDOK)) && !IsWindowEnabled(Control(top, kApply)) &&
           !IsWindowEnabled(Control(top, kRestore));
}

inline bool StatusIs(HWND top, const std::wstring& text) { return TextOf(Control(top, kStatus)) == text; }

using test::Joined;
using test::SettingsWrites;

inline std::string Shot(const std::string& name) { return g_shots + name + ".bmp"; }

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

}  // namespace brenik::option::test_driver
