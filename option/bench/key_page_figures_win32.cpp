#include "key_page_figures_win32.h"

#include "bench_timer.h"
#include "window_controls_win32.h"
#include "window_dpi_win32.h"
#include "wine_test_support.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace brenik::option::bench {
namespace {

using brenik::test::ChildProcess;
using brenik::test::WaitUntil;

constexpr const char* kOptionTitle = "Brenik Gaming Keyboard Option";
constexpr const char* kOptionClass = "BrenikOptionWindow";
constexpr DWORD kStartTimeoutMs = 15000;
constexpr DWORD kSettleMs = 1000;
constexpr DWORD kDpi = 144;
constexpr int kRepaintRounds = 31;
constexpr int kPressRounds = 7;
// Control ids of the window (option_resources.h).
constexpr int kTabs = 1005;
constexpr int kProfileName = 1103;    // profile 1's name, on the profiles page
constexpr int kFirstStandardKey = 1700;
constexpr int kPickedKey = 1902;      // the picked key's name
constexpr int kPressKey = 1903;       // "Press the key you want to change"
constexpr int kFindKey = 1905;        // "Find a key:"
constexpr int kKeysTab = 1;

// Where Wine takes a program's DPI from when it starts (the system DPI and the fonts' scale).
struct DpiKey {
    HKEY root;
    const char* path;
};
const DpiKey kDpiKeys[] = {{HKEY_CURRENT_USER, "Control Panel\\Desktop"}, {HKEY_CURRENT_CONFIG, "Software\\Fonts"}};

// Sets LogPixels for the programs started while it lives, and puts back what was there.
class DpiForAWhile {
public:
    explicit DpiForAWhile(DWORD dpi) {
        for (const DpiKey& key : kDpiKeys) {
            Saved saved{key, false, 0};
            DWORD size = sizeof saved.value;
            saved.had = RegGetValueA(key.root, key.path, "LogPixels", RRF_RT_REG_DWORD, nullptr, &saved.value, &size) ==
                        ERROR_SUCCESS;
            saved_.push_back(saved);
            RegSetKeyValueA(key.root, key.path, "LogPixels", REG_DWORD, &dpi, sizeof dpi);
        }
    }
    ~DpiForAWhile() {
        for (const Saved& saved : saved_) {
            if (saved.had) {
                RegSetKeyValueA(saved.key.root, saved.key.path, "LogPixels", REG_DWORD, &saved.value, sizeof saved.value);
            } else {
                RegDeleteKeyValueA(saved.key.root, saved.key.path, "LogPixels");
            }
        }
    }
    DpiForAWhile(const DpiForAWhile&) = delete;
    DpiForAWhile& operator=(const DpiForAWhile&) = delete;

private:
    struct Saved {
        DpiKey key;
        bool had;
        DWORD value;
    };
    std::vector<Saved> saved_;
};

HWND Control(HWND top, int id) { return brenik::test::FindControl(top, id); }

// WM_GETTEXT itself: GetWindowText does not ask another process's edit box for its text.
std::wstring TextOf(HWND control) {
    wchar_t text[256] = {};
    SendMessageW(control, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
    return text;
}

void ShowTab(HWND top, int index) {
    const HWND tabs = Control(top, kTabs);
    SendMessageW(tabs, TCM_SETCURSEL, index == 0 ? 1 : index - 1, 0);
    PostMessageW(tabs, WM_KEYDOWN, index == 0 ? VK_LEFT : VK_RIGHT, 0);
}

// A repaint of the page and every control on it, painted before the call returns (the page's
// thread answers each WM_PAINT as a sent message).
double MedianRepaintMs(HWND page) {
    std::vector<double> rounds;
    for (int round = 0; round < kRepaintRounds; ++round) {
        const double start = brenik::test::SecondsNow();
        RedrawWindow(page, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        rounds.push_back((brenik::test::SecondsNow() - start) * 1e3);
    }
    std::sort(rounds.begin(), rounds.end());
    return rounds[rounds.size() / 2];
}

void PressKey(WORD virtualKey) {
    INPUT keys[2] = {};
    for (INPUT& key : keys) {
        key.type = INPUT_KEYBOARD;
        key.ki.wVk = virtualKey;
        key.ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC));
    }
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
}

void Focus(HWND window, HWND control) {
    SetForegroundWindow(window);
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    AttachThreadInput(GetCurrentThreadId(), thread, TRUE);
    SetFocus(control);
    AttachThreadInput(GetCurrentThreadId(), thread, FALSE);
}

// The best time from a key press until `done` holds; -1 when it never did.
template <typename Prepare, typename Done>
double BestPressMs(WORD virtualKey, Prepare prepare, Done done) {
    double best = -1;
    for (int round = 0; round < kPressRounds; ++round) {
        prepare();
        Sleep(200);
        const double start = brenik::test::SecondsNow();
        PressKey(virtualKey);
        if (!WaitUntil(done, 5000, 1)) return -1;
        const double ms = (brenik::test::SecondsNow() - start) * 1e3;
        best = best < 0 ? ms : std::min(best, ms);
    }
    return best;
}

}  // namespace

bool MeasureKeyPage(const std::string& optionExe, KeyPageFigures& figures) {
    ChildProcess program;
    HWND window = nullptr;
    {
        const DpiForAWhile dpi(kDpi);
        if (!program.Start(optionExe, "") ||
            !WaitUntil([&] { return (window = FindWindowA(kOptionClass, kOptionTitle)) != nullptr && IsWindowVisible(window); },
                       kStartTimeoutMs)) {
            return false;
        }
        Sleep(kSettleMs);  // the program has read its DPI
    }
    figures.dpi = static_cast<int>(WindowDpi(window));
    Sleep(kSettleMs);
    figures.plainPageRepaintMs = MedianRepaintMs(GetParent(Control(window, kProfileName)));
    ShowTab(window, kKeysTab);
    HWND key = nullptr;
    const bool shown = WaitUntil([&] { return (key = Control(window, kFirstStandardKey)) != nullptr && IsWindowVisible(key); }, 5000);
    if (shown) {
        Sleep(kSettleMs);
        figures.keyboardRepaintMs = MedianRepaintMs(GetParent(key));
        // A key pressed after "Press the key you want to change", until the page names it; and
        // the same key typed into the page's find box, until the box shows it.
        const HWND picked = Control(window, kPickedKey);
        const HWND find = Control(window, kFindKey);
        figures.pressToPickMs = BestPressMs(
            'Q',
            [&] {
                // The capture ends when its button loses the focus: the button keeps it.
                SetWindowTextW(picked, L"");
                const HWND press = Control(window, kPressKey);
                SendMessageW(press, BM_CLICK, 0, 0);
                Focus(window, press);
            },
            [&] { return TextOf(picked).find(L"Q") != std::wstring::npos; });
        figures.pressToEchoMs = BestPressMs(
            'Q',
            [&] {
                SendMessageW(find, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
                Focus(window, find);
            },
            [&] { return TextOf(find) == L"q" || TextOf(find) == L"Q"; });
    }
    if (!shown) std::printf("option benchmark: the key page did not show\n");
    if (figures.pressToPickMs < 0) std::printf("option benchmark: a pressed key was not picked\n");
    if (figures.pressToEchoMs < 0) {
        std::printf("option benchmark: a typed key did not reach the find box (it reads \"%ls\")\n",
                    TextOf(Control(window, kFindKey)).c_str());
    }
    PostMessageA(window, WM_CLOSE, 0, 0);
    program.Wait(kStartTimeoutMs);
    return shown && figures.pressToPickMs > 0 && figures.pressToEchoMs > 0;
}

}  // namespace brenik::option::bench
