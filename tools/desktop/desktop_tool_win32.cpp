// desktop-tool.exe: what a script needs of the Windows desktop to drive our programs under
// Wine as a person would: wait for a window, post it a message, fill in and click its
// controls, close it.
//   desktop-tool wait TITLE [SECONDS]      exit 0 once a window with that title exists
//   desktop-tool gone TITLE [SECONDS]      exit 0 once no window has that title
//   desktop-tool post TITLE MSG [W [L]]    post a message (numbers in decimal or 0x hex)
//   desktop-tool close TITLE               post WM_CLOSE
//   desktop-tool copydata TITLE TEXT       send a text message as another program does: WM_COPYDATA
//                                          with a 151-byte block, the text from byte 1; prints the answer
//   desktop-tool shot FILE.bmp [TITLE]     a picture of the screen, or of that window's rectangle
//   desktop-tool settext TITLE TEXT        send WM_SETTEXT, as typing the whole text would leave it
//   desktop-tool text TITLE                print the window's text (WM_GETTEXT), e.g. a status line
//   desktop-tool click TITLE               post BM_CLICK to a button
//   desktop-tool select TITLE INDEX        choose item INDEX of a combo box as a user would:
//                                          CB_SETCURSEL, then CBN_SELCHANGE to its parent
//   desktop-tool tab TITLE INDEX           show page INDEX of a tab control; its parent is told
//                                          TCN_SELCHANGE as after a click on the tab
//   desktop-tool items TITLE               print the lines of a list box, one to a line
//   desktop-tool type TITLE KEYS [MS]      bring the window forward, focus it and press the keys
//                                          (letters and digits, each pressed and released) with
//                                          real key input, MS milliseconds apart (default 120)
// TITLE may be "class:NAME" for the first window of that class (an open pop-up menu is
// "class:#32768"), and either form may end in ">ID" for the control with that id anywhere
// inside the window ("Brenik Gaming Keyboard Option>1008"). Exit code 1 when the window is not
// there (or still there) or did not answer, 2 for a usage error.

#include "text_message_block.h"
#include "window_capture.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace brenik::desktop {
namespace {

constexpr DWORD kPollMs = 50;
constexpr double kDefaultSeconds = 20;

int Usage() {
    std::fputs("usage: desktop-tool wait|gone TITLE [SECONDS] | post TITLE MSG [W [L]] | close TITLE\n"
               "       desktop-tool copydata TITLE TEXT | shot FILE.bmp [TITLE]\n"
               "       desktop-tool settext TITLE TEXT | text TITLE | click TITLE\n"
               "       desktop-tool select TITLE INDEX | tab TITLE INDEX | type TITLE KEYS [MS] | items TITLE\n"
               "TITLE: a window title or class:NAME, either with >ID for a control inside it\n",
               stderr);
    return 2;
}

bool ParseNumber(const char* text, long long& value) {
    char* end = nullptr;
    value = std::strtoll(text, &end, 0);
    return end != text && *end == '\0';
}

constexpr const char* kClassPrefix = "class:";
constexpr char kControlSeparator = '>';

HWND FindTopLevel(const std::string& name) {
    const std::size_t prefix = std::strlen(kClassPrefix);
    if (name.compare(0, prefix, kClassPrefix) == 0) return FindWindowA(name.c_str() + prefix, nullptr);
    return FindWindowA(nullptr, name.c_str());
}

struct ControlSearch {
    int id;
    HWND found;
};

BOOL CALLBACK MatchControl(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<ControlSearch*>(context);
    if (GetDlgCtrlID(window) != search->id) return TRUE;
    search->found = window;
    return FALSE;
}

// "NAME>ID" is the control with that id among all the window's descendants (the pages of a
// tab dialog are children of children); a name without a numeric ">ID" end is a window.
HWND FindNamed(const char* name) {
    const std::string text = name;
    const std::size_t separator = text.rfind(kControlSeparator);
    long long id = 0;
    if (separator == std::string::npos || !ParseNumber(text.c_str() + separator + 1, id)) return FindTopLevel(text);
    const HWND window = FindTopLevel(text.substr(0, separator));
    if (window == nullptr) return nullptr;
    ControlSearch search{static_cast<int>(id), nullptr};
    EnumChildWindows(window, MatchControl, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindOrSay(const char* name) {
    const HWND window = FindNamed(name);
    if (window == nullptr) std::fprintf(stderr, "desktop-tool: no window \"%s\"\n", name);
    return window;
}

int WaitFor(const char* title, bool present, double seconds) {
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
    for (;;) {
        if ((FindNamed(title) != nullptr) == present) return 0;
        if (GetTickCount64() >= deadline) break;
        Sleep(kPollMs);
    }
    std::fprintf(stderr, "desktop-tool: \"%s\" %s\n", title, present ? "did not appear" : "is still there");
    return 1;
}

int Post(const char* title, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = FindNamed(title);
    if (window == nullptr || !PostMessageA(window, message, wParam, lParam)) {
        std::fprintf(stderr, "desktop-tool: no window \"%s\"\n", title);
        return 1;
    }
    return 0;
}

constexpr DWORD kSendTimeoutMs = 5000;

bool SendOrSay(HWND window, const char* name, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR& answer) {
    if (SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs, &answer)) return true;
    std::fprintf(stderr, "desktop-tool: \"%s\" did not answer\n", name);
    return false;
}

int SetText(const char* name, const char* text) {
    const HWND window = FindOrSay(name);
    DWORD_PTR answer = 0;
    if (window == nullptr) return 1;
    return SendOrSay(window, name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text), answer) ? 0 : 1;
}

// WM_GETTEXT, not GetWindowText: the latter does not ask a window of another process, and an
// edit control's text lives in the control.
int PrintText(const char* name) {
    const HWND window = FindOrSay(name);
    DWORD_PTR length = 0;
    if (window == nullptr || !SendOrSay(window, name, WM_GETTEXTLENGTH, 0, 0, length)) return 1;
    std::string text(length + 1, '\0');
    DWORD_PTR copied = 0;
    if (!SendOrSay(window, name, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), copied)) return 1;
    text.resize(std::strlen(text.c_str()));
    std::printf("%s\n", text.c_str());
    return 0;
}

int Click(const char* name) {
    const HWND window = FindOrSay(name);
    return window != nullptr && PostMessageA(window, BM_CLICK, 0, 0) ? 0 : 1;
}

// A user's choice in a drop-down list: the selection, then the parent's CBN_SELCHANGE (which
// CB_SETCURSEL alone does not send). Posted, so that a message box the choice opens does not
// hold the tool.
int Select(const char* name, long long index) {
    const HWND combo = FindOrSay(name);
    DWORD_PTR answer = 0;
    if (combo == nullptr || !SendOrSay(combo, name, CB_SETCURSEL, static_cast<WPARAM>(index), 0, answer)) return 1;
    if (static_cast<LRESULT>(answer) != index) {
        std::fprintf(stderr, "desktop-tool: \"%s\" has no item %lld\n", name, index);
        return 1;
    }
    const WPARAM command = MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE);
    return PostMessageA(GetParent(combo), WM_COMMAND, command, reinterpret_cast<LPARAM>(combo)) ? 0 : 1;
}

int PrintItems(const char* name) {
    const HWND list = FindOrSay(name);
    if (list == nullptr) return 1;
    char kind[16] = {};
    GetClassNameA(list, kind, sizeof kind);
    if (_stricmp(kind, "ListBox") != 0) {
        std::fprintf(stderr, "desktop-tool: \"%s\" is a %s, not a list box\n", name, kind);
        return 1;
    }
    DWORD_PTR count = 0;
    if (!SendOrSay(list, name, LB_GETCOUNT, 0, 0, count)) return 1;
    for (DWORD_PTR i = 0; i < count && static_cast<LRESULT>(count) != LB_ERR; ++i) {
        DWORD_PTR length = 0;
        if (!SendOrSay(list, name, LB_GETTEXTLEN, i, 0, length) || static_cast<LRESULT>(length) == LB_ERR) return 1;
        std::wstring line(length + 1, L'\0');
        DWORD_PTR copied = 0;
        if (!SendMessageTimeoutW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data()), SMTO_ABORTIFHUNG,
                                 kSendTimeoutMs, &copied)) {
            return 1;
        }
        line.resize(static_cast<std::size_t>(copied));
        std::printf("%ls\n", line.c_str());
    }
    return 0;
}

bool Typable(char key) { return (key >= 'a' && key <= 'z') || (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'); }

// One key of the keyboard, as it sends it: the virtual key and the scan code both.
bool PressKey(char key, bool up) {
    const char upper = (key >= 'a' && key <= 'z') ? static_cast<char>(key - 'a' + 'A') : key;
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = static_cast<WORD>(upper);
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(static_cast<UINT>(upper), MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return SendInput(1, &input, sizeof input) == 1;
}

// Real key input goes to the focused window of the foreground thread: the target is brought
// forward and focused through its thread's input state first.
int Type(const char* name, const char* keys, long long pauseMs) {
    for (const char* key = keys; *key != '\0'; ++key) {
        if (!Typable(*key)) {
            std::fprintf(stderr, "desktop-tool: cannot type \"%c\" (letters and digits only)\n", *key);
            return 2;
        }
    }
    const HWND target = FindOrSay(name);
    if (target == nullptr) return 1;
    const HWND top = GetAncestor(target, GA_ROOT);
    // Keys typed with another window in front would go to it.
    if (!SetForegroundWindow(top) && GetForegroundWindow() != top) {
        std::fprintf(stderr, "desktop-tool: \"%s\" could not be brought to the front\n", name);
        return 1;
    }
    const DWORD thread = GetWindowThreadProcessId(target, nullptr);
    AttachThreadInput(GetCurrentThreadId(), thread, TRUE);
    SetFocus(target);
    AttachThreadInput(GetCurrentThreadId(), thread, FALSE);
    Sleep(static_cast<DWORD>(pauseMs));
    for (const char* key = keys; *key != '\0'; ++key) {
        const bool pressed = PressKey(*key, false);
        Sleep(static_cast<DWORD>(pauseMs) / 2);
        const bool released = PressKey(*key, true);
        if (!pressed || !released) {
            std::fprintf(stderr, "desktop-tool: the system took no key input for \"%c\" (error %lu)\n", *key, GetLastError());
            return 1;
        }
        Sleep(static_cast<DWORD>(pauseMs));
    }
    return 0;
}

// TCM_SETCURFOCUS on a tab control without TCS_BUTTONS selects the tab and sends its parent
// TCN_SELCHANGING and TCN_SELCHANGE, as a click does (TCM_SETCURSEL notifies no one). It carries
// no pointer, so it works from another process.
int ShowTab(const char* name, long long index) {
    const HWND tabs = FindOrSay(name);
    DWORD_PTR answer = 0;
    if (tabs == nullptr || !SendOrSay(tabs, name, TCM_SETCURFOCUS, static_cast<WPARAM>(index), 0, answer)) return 1;
    if (!SendOrSay(tabs, name, TCM_GETCURSEL, 0, 0, answer)) return 1;
    if (static_cast<LRESULT>(answer) != index) {
        std::fprintf(stderr, "desktop-tool: \"%s\" shows page %ld, not %lld\n", name,
                     static_cast<long>(static_cast<LRESULT>(answer)), index);
        return 1;
    }
    return 0;
}

int SendText(const char* title, const char* text) {
    const HWND window = FindOrSay(title);
    if (window == nullptr) return 1;
    // The text from its start, always ended by a zero inside the block.
    char block[brenik::kTextMessageBytes] = {};
    std::strncpy(block + brenik::kTextMessageStart, text, brenik::kTextMessageMaxChars - 1);
    COPYDATASTRUCT data{0, static_cast<DWORD>(sizeof block), block};
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, kSendTimeoutMs,
                             &answer)) {
        std::fprintf(stderr, "desktop-tool: \"%s\" did not answer\n", title);
        return 1;
    }
    std::printf("answered %lu\n", static_cast<unsigned long>(answer));
    return 0;
}

int Shot(const char* path, const char* title) {
    if (title == nullptr) return brenik::test::SaveScreenImage(path) ? 0 : 1;
    const HWND window = FindOrSay(title);
    if (window == nullptr) return 1;
    return brenik::test::SaveWindowImage(window, path) ? 0 : 1;
}

}  // namespace
}  // namespace brenik::desktop

int main(int argc, char** argv) {
    using namespace brenik::desktop;
    if (argc < 3) return Usage();
    const std::string verb = argv[1];
    const char* title = argv[2];
    if (verb == "wait" || verb == "gone") {
        double seconds = kDefaultSeconds;
        if (argc > 3) seconds = std::atof(argv[3]);
        if (argc > 4 || seconds <= 0) return Usage();
        return WaitFor(title, verb == "wait", seconds);
    }
    if (verb == "close" && argc == 3) return Post(title, WM_CLOSE, 0, 0);
    if (verb == "copydata" && argc == 4) return SendText(title, argv[3]);
    if (verb == "settext" && argc == 4) return SetText(title, argv[3]);
    if (verb == "text" && argc == 3) return PrintText(title);
    if (verb == "click" && argc == 3) return Click(title);
    if ((verb == "select" || verb == "tab") && argc == 4) {
        long long index = 0;
        if (!ParseNumber(argv[3], index) || index < 0) return Usage();
        return verb == "select" ? Select(title, index) : ShowTab(title, index);
    }
    if (verb == "items" && argc == 3) return PrintItems(title);
    if (verb == "type" && (argc == 4 || argc == 5)) {
        long long pause = 120;
        if (argc == 5 && (!ParseNumber(argv[4], pause) || pause < 0 || pause > 10000)) return Usage();
        return Type(title, argv[3], pause);
    }
    if (verb == "shot" && (argc == 3 || argc == 4)) return Shot(argv[2], argc == 4 ? argv[3] : nullptr);
    if (verb == "post" && argc >= 4 && argc <= 6) {
        long long numbers[3] = {0, 0, 0};
        for (int i = 3; i < argc; ++i) {
            if (!ParseNumber(argv[i], numbers[i - 3])) return Usage();
        }
        return Post(title, static_cast<UINT>(numbers[0]), static_cast<WPARAM>(numbers[1]), static_cast<LPARAM>(numbers[2]));
    }
    return Usage();
}
