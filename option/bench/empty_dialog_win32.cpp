// The baseline for the settings program's start-up and memory figures: a program built the
// same way (static runtime) that shows one empty dialog from an in-memory template and waits
// for WM_CLOSE.

#include <windows.h>

#include <cwchar>

namespace {

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            return TRUE;
        case WM_CLOSE:
            DestroyWindow(dialog);
            return TRUE;
        case WM_DESTROY:
            PostQuitMessage(0);
            return TRUE;
        default:
            return FALSE;
    }
}

// A DLGTEMPLATE without controls: no menu, the dialog class, then the title.
struct EmptyTemplate {
    DLGTEMPLATE header;
    WORD menu;
    WORD windowClass;
    wchar_t title[32];
};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    alignas(DWORD) EmptyTemplate dialog{};
    dialog.header.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_CENTER;
    dialog.header.cx = 470;
    dialog.header.cy = 300;
    std::wcscpy(dialog.title, L"BrenikEmptyDialog");
    if (!CreateDialogIndirectParamW(instance, &dialog.header, nullptr, DialogProc, 0)) return 1;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
