#include "macro_recording_box_win32.h"

#include "scoped_gdi.h"

namespace brenik::option {
namespace {

// The font the dialog gave the box is kept in the window's extra bytes.
constexpr int kFontSlot = 0;

bool IsKeyMessage(UINT message) {
    return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_SYSKEYDOWN || message == WM_SYSKEYUP;
}

void Paint(HWND box) {
    PAINTSTRUCT paint{};
    const HDC dc = BeginPaint(box, &paint);
    RECT area{};
    GetClientRect(box, &area);
    const bool recording = IsWindowEnabled(box) != FALSE;
    FillRect(dc, &area, GetSysColorBrush(recording ? COLOR_WINDOW : COLOR_BTNFACE));
    wchar_t text[128] = {};
    GetWindowTextW(box, text, 128);
    {
        const win32::SelectedObject font(dc, reinterpret_cast<HGDIOBJ>(GetWindowLongPtrW(box, kFontSlot)));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(recording ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
        DrawTextW(dc, text, -1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    if (GetFocus() == box) {
        InflateRect(&area, -2, -2);
        DrawFocusRect(dc, &area);
    }
    EndPaint(box, &paint);
}

LRESULT CALLBACK BoxProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    if (IsKeyMessage(message)) {
        const RecordedKey key = RecordedKeyOf(message, wParam, lParam, static_cast<DWORD>(GetMessageTime()));
        SendMessageW(GetParent(box), kMsgRecordedKey, 0, reinterpret_cast<LPARAM>(&key));
        return 0;  // never the default: Alt would open the dialog's menu, Alt+F4 close it
    }
    switch (message) {
        case WM_GETDLGCODE:
            return DLGC_WANTALLKEYS | DLGC_WANTCHARS | DLGC_WANTTAB | DLGC_WANTARROWS;
        case WM_CHAR:
        case WM_SYSCHAR:
        case WM_DEADCHAR:
        case WM_SYSDEADCHAR:
            return 0;  // the keys are taken as keys; their characters mean nothing here
        case WM_SETFOCUS:
            InvalidateRect(box, nullptr, TRUE);
            return 0;
        case WM_KILLFOCUS:
            InvalidateRect(box, nullptr, TRUE);
            SendMessageW(GetParent(box), kMsgRecordingBoxLeft, wParam, 0);
            return 0;
        case WM_LBUTTONDOWN:
            SetFocus(box);
            return 0;
        case WM_ENABLE:
        case WM_SETTEXT: {
            const LRESULT result = DefWindowProcW(box, message, wParam, lParam);
            InvalidateRect(box, nullptr, TRUE);
            return result;
        }
        case WM_SETFONT:
            SetWindowLongPtrW(box, kFontSlot, static_cast<LONG_PTR>(wParam));
            if (LOWORD(lParam) != 0) InvalidateRect(box, nullptr, TRUE);
            return 0;
        case WM_GETFONT:
            return GetWindowLongPtrW(box, kFontSlot);
        case WM_PAINT:
            Paint(box);
            return 0;
        default:
            return DefWindowProcW(box, message, wParam, lParam);
    }
}

}  // namespace

bool RegisterRecordingBox() {
    WNDCLASSEXW type{};
    type.cbSize = sizeof type;
    if (GetClassInfoExW(GetModuleHandleW(nullptr), kRecordingBoxClass, &type)) return true;
    type.style = CS_HREDRAW | CS_VREDRAW;
    type.lpfnWndProc = BoxProcedure;
    type.cbWndExtra = sizeof(LONG_PTR);
    type.hInstance = GetModuleHandleW(nullptr);
    type.hCursor = LoadCursorW(nullptr, IDC_IBEAM);
    type.lpszClassName = kRecordingBoxClass;
    return RegisterClassExW(&type) != 0;
}

RecordedKey RecordedKeyOf(UINT message, WPARAM wParam, LPARAM lParam, DWORD timeMs) {
    RecordedKey key;
    key.timeMs = timeMs;
    key.virtualKey = static_cast<std::uint16_t>(wParam & 0xFF);
    key.scanCode = static_cast<std::uint16_t>((static_cast<DWORD>(lParam) >> 16) & 0xFF);
    key.extended = ((static_cast<DWORD>(lParam) >> 24) & 1) != 0;
    key.down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
    return key;
}

}  // namespace brenik::option
