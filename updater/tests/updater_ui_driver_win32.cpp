#include "updater_ui_driver.h"

#include "fw_update_dlg_win32.h"
#include "message_dialogs_win32.h"
#include "skin_layouts.h"
#include "updater_resources.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace brenik::updater::ui {

namespace {

constexpr DWORD kInputSettleMs = 150;

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::wstring TitleOf(HWND window) {
    wchar_t title[128] = {};
    GetWindowTextW(window, title, 128);
    return title;
}

bool Matches(HWND window, DialogKind kind) {
    if (!IsWindowVisible(window) || ClassOf(window) != "#32770") return false;
    const SIZE size = ClientSize(window);
    const std::wstring title = TitleOf(window);
    switch (kind) {
        case DialogKind::kMain:
            return title == kMainDialogTitle && size.cx == kMainSkinWidth;
        case DialogKind::kSuccess:
            return title == kSuccessTitle;
        default:
            break;
    }
    if (!title.empty() || size.cx != kMessageSkinWidth || size.cy != kSkinHeight) return false;
    const std::size_t buttons = SkinButtons(window).size();
    if (kind == DialogKind::kConfirm) return buttons == 3;
    if (buttons != 2) return false;
    // The failure dialog belongs to the main dialog; the driver dialog stands alone.
    const bool owned = GetWindow(window, GW_OWNER) != nullptr;
    return kind == DialogKind::kFail ? owned : !owned;
}

struct Search {
    DialogKind kind;
    HWND found;
};

BOOL CALLBACK Visit(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    if (!Matches(window, search->kind)) return TRUE;
    search->found = window;
    return FALSE;
}

void SendMouse(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
    Sleep(kInputSettleMs);
}

POINT CentreOf(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

}  // namespace

HWND FindDialog(DialogKind kind) {
    Search search{kind, nullptr};
    EnumWindows(&Visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForDialog(DialogKind kind, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (HWND found = FindDialog(kind)) {
            Sleep(300);  // let it paint
            return found;
        }
        if (GetTickCount() - start > timeoutMs) return nullptr;
        Sleep(50);
    }
}

SIZE ClientSize(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return SIZE{client.right - client.left, client.bottom - client.top};
}

std::vector<HWND> SkinButtons(HWND dialog) {
    std::vector<HWND> buttons;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (ClassOf(child) == "Button") buttons.push_back(child);
    }
    std::sort(buttons.begin(), buttons.end(), [](HWND a, HWND b) {
        RECT ra, rb;
        GetWindowRect(a, &ra);
        GetWindowRect(b, &rb);
        return ra.left < rb.left;
    });
    return buttons;
}

int ProgressPosition(HWND mainDialog) {
    HWND progress = GetDlgItem(mainDialog, IDC_PROGRESS);
    if (progress == nullptr) return -1;
    return static_cast<int>(SendMessageW(progress, PBM_GETPOS, 0, 0));
}

void Click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

void PressKey(HWND window, WPARAM key) {
    PostMessageW(window, WM_KEYDOWN, key, 1);
    PostMessageW(window, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
}

void MoveMouseTo(POINT screen) {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((screen.x * 65535LL) / std::max(1, width - 1));
    input.mi.dy = static_cast<LONG>((screen.y * 65535LL) / std::max(1, height - 1));
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
    Sleep(kInputSettleMs);
}

void MoveMouseAway() { MoveMouseTo(POINT{GetSystemMetrics(SM_CXSCREEN) - 2, GetSystemMetrics(SM_CYSCREEN) - 2}); }

void HoverOver(HWND button) {
    POINT centre = CentreOf(button);
    MoveMouseTo(POINT{centre.x - 1, centre.y});
    MoveMouseTo(centre);
}

void MouseClick(HWND button) {
    HoverOver(button);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    SendMouse(MOUSEEVENTF_LEFTUP);
}

void PressAndDragBy(int dx, int dy) {
    POINT start;
    GetCursorPos(&start);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    constexpr int kSteps = 4;
    for (int i = 1; i <= kSteps; ++i) MoveMouseTo(POINT{start.x + dx * i / kSteps, start.y + dy * i / kSteps});
    SendMouse(MOUSEEVENTF_LEFTUP);
    Sleep(300);
}

void PressWithoutClick(HWND button, const std::function<void()>& whileDown) {
    HoverOver(button);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    Sleep(200);
    whileDown();
    RECT rect;
    GetWindowRect(button, &rect);
    MoveMouseTo(POINT{rect.left - 40 > 0 ? rect.left - 40 : rect.right + 40, rect.top + 1});
    SendMouse(MOUSEEVENTF_LEFTUP);
}

}  // namespace brenik::updater::ui
