// The settings program's "Keys and macros" page as its user meets it, measured in this process
// on the program's own pages in a window of the benchmark's, at 144 DPI: the repaint of the
// whole page with its 141 drawn keys against the same repaint of the profiles page (plain
// controls), the key painter alone against two rectangles a key, and a key press until the page
// has picked that key against the same press typed into an edit box. Prints each figure, its
// ratio to the baseline of the same run and whether its target is met; it ends non-zero only
// when it could not measure.
//
// Started without arguments it sets the DPI Wine gives a starting program, runs itself again
// with kMeasureArgument to measure, prints what that run printed and puts the DPI back.

#include "dpi_for_a_while_win32.h"

#include "bench_timer.h"
#include "key_faces_win32.h"
#include "keyboard_layout.h"
#include "keyboard_picture_win32.h"
#include "option_resources.h"
#include "profile_store.h"
#include "scoped_gdi.h"
#include "settings_page_win32.h"
#include "state_record.h"
#include "window_dpi_win32.h"
#include "wine_test_support.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace brenik;
using namespace brenik::option;
using brenik::test::SecondsNow;

constexpr DWORD kDpi = 144;
constexpr const char* kMeasureArgument = "--measure";
constexpr DWORD kMeasureTimeoutMs = 300000;
constexpr int kRepaintRounds = 31;
constexpr int kDrawRounds = 31;
constexpr int kPressRounds = 7;
constexpr DWORD kPressTimeoutMs = 5000;
constexpr DWORD kSettleMs = 300;
constexpr double kFrameMs = 16;
constexpr double kAtMostAgainstEcho = 2.0;
constexpr WORD kPressedKey = 'Q';
constexpr const wchar_t* kPickedName = L"Q";  // the key's name on the page
constexpr const wchar_t* kTypedText = L"q";   // the same key typed into an edit box
constexpr const wchar_t* kHostClass = L"BrenikKeyPageBenchmark";

// The program's window in dialog units (option.rc's IDD_MAIN at its least size), and where its
// pages sit in it: in the tab's display area (main_window_win32.cpp's Layout).
constexpr RECT kWindowUnits{0, 0, 600, 372};
constexpr RECT kPageUnits{9, 54, 591, 326};
constexpr std::size_t kProfilesRow = 0;  // MakePages' order
constexpr std::size_t kKeysRow = 1;

struct WindowTraits {
    static HWND Empty() { return nullptr; }
    static bool Valid(HWND window) { return window != nullptr; }
    static void Free(HWND window) { DestroyWindow(window); }
};
using ScopedWindow = win32::ScopedOwner<HWND, WindowTraits>;

// ---- The profiles the pages show ----

int StandardKeyIndex(const char* name) {
    for (const DrawnKey& key : StandardKeyLayout()) {
        if (std::strcmp(key.name, name) == 0) return key.index;
    }
    return 0;
}

// Five default profiles, the first with every kind of face the key page draws: keys sending
// another key, locked keys, a macro and a modified key on numbered keys, an edit not applied.
void LoadProfiles(SettingsModel& model) {
    auto block = std::make_unique<StateRecord>();
    std::memset(block.get(), 0, sizeof *block);
    block->CurrentProfile = 0;
    for (int p = 0; p < kProfileCount; ++p) SetDefaultProfile(block->Profiles[p], p);
    ProfileRecord& first = block->Profiles[0];
    first.standardkey[StandardKeyIndex("Caps Lock")] = 0xE0;  // Left Ctrl
    first.standardkey[StandardKeyIndex("F1")] = 0x3F;         // F6
    first.standardkey[StandardKeyIndex("Right Alt")] = 0x65;  // Menu
    first.CapsLock = 1;
    first.LeftWin = 1;
    MacroKeyInfo& macro = first.MacroKeyInfo[0];
    macro.FunctionType = kFunctionMacro;
    std::strcpy(macro.MacroName, "Fire");
    MacroKeyInfo& modified = first.MacroKeyInfo[1];
    modified.FunctionType = kFunctionSingleKey;
    modified.Actions[0] = MacroAction{0x04, 0x03, 0};  // Ctrl+Shift+A
    model.Load(*block);
    std::uint8_t keys[kStandardKeyCount];
    std::memcpy(keys, first.standardkey, sizeof keys);
    keys[StandardKeyIndex("F2")] = 0x40;  // F7, not applied yet
    model.SetStandardKeys(0, keys);
}

// ---- The window holding the pages ----

bool RegisterHostClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kHostClass;
    return RegisterClassExW(&windowClass) != 0;
}

// Per-monitor DPI awareness as the program's manifest asks for it, where the manifest alone
// did not give it; the call is looked up, as systems before Windows 10 lack it.
void BecomeDpiAware() {
    using SetContext = BOOL(WINAPI*)(HANDLE);
    const auto set = reinterpret_cast<SetContext>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext")));
    if (set != nullptr) set(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
}

// The system's message font at the window's DPI, and its bold, as the program makes them.
bool MakeFonts(HWND window, win32::ScopedFont& normal, win32::ScopedFont& bold) {
    NONCLIENTMETRICSW metrics{};
    if (!MessageFontMetrics(window, metrics)) return false;
    normal = win32::ScopedFont(CreateFontIndirectW(&metrics.lfMessageFont));
    LOGFONTW boldLook = metrics.lfMessageFont;
    boldLook.lfWeight = FW_BOLD;
    bold = win32::ScopedFont(CreateFontIndirectW(&boldLook));
    return normal.Valid() && bold.Valid();
}

BOOL CALLBACK SetFontOf(HWND child, LPARAM font) {
    SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
    return TRUE;
}

// Everything this thread was sent or posted, as the program's loop handles it.
void Pump(HWND dialog) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (IsDialogMessageW(dialog, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

template <typename Done>
bool PumpUntil(HWND dialog, DWORD timeoutMs, Done done) {
    const double end = SecondsNow() + timeoutMs / 1e3;
    while (true) {
        Pump(dialog);
        if (done()) return true;
        if (SecondsNow() > end) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
}

void Settle(HWND dialog) {
    PumpUntil(dialog, kSettleMs, [] { return false; });
}

// The program's models and pages in a window of the benchmark's, shown at the window's DPI.
class PageHost {
public:
    PageHost() : context_{model_, display_, profile_, {}, "", [] {}, [](const std::wstring&) {}, [] {}, {}, [] {}, [] {},
                          [] { return false; }, [] { return std::wstring(); }} {}
    ~PageHost() { pages_.clear(); }  // the pages' windows before the host's
    PageHost(const PageHost&) = delete;
    PageHost& operator=(const PageHost&) = delete;

    bool Create() {
        const HINSTANCE instance = GetModuleHandleW(nullptr);
        if (!RegisterHostClass(instance)) return false;
        host_.Reset(CreateWindowExW(0, kHostClass, L"Key page benchmark", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                    CW_USEDEFAULT, CW_USEDEFAULT, 800, 600, nullptr, nullptr, instance, nullptr));
        if (!host_.Valid() || !MakeFonts(host_.Get(), font_, bold_)) return false;
        context_.fonts = Fonts{font_.Get(), bold_.Get()};
        LoadProfiles(model_);
        pages_ = MakePages(context_);
        for (const std::size_t row : {kProfilesRow, kKeysRow}) {
            SettingsPage& page = *pages_[row];
            if (page.Create(host_.Get()) == nullptr) return false;
            EnumChildWindows(page.Window(), SetFontOf, reinterpret_cast<LPARAM>(font_.Get()));
            page.Show();
        }
        Place();
        ShowWindow(host_.Get(), SW_SHOW);
        UpdateWindow(host_.Get());
        SetForegroundWindow(host_.Get());
        return true;
    }

    // One page shown, the other hidden, as the tabs do.
    void ShowOnly(std::size_t row) {
        for (const std::size_t other : {kProfilesRow, kKeysRow}) {
            ShowWindow(pages_[other]->Window(), other == row ? SW_SHOW : SW_HIDE);
        }
        Pump(Page(row));
    }

    HWND Host() const { return host_.Get(); }
    HWND Page(std::size_t row) const { return pages_[row]->Window(); }
    const SettingsModel& Model() const { return model_; }
    int Profile() const { return profile_; }
    HFONT Font() const { return font_.Get(); }

private:
    // The window and its pages sized as the program's, in dialog units of the page's font.
    void Place() {
        RECT window = kWindowUnits;
        RECT page = kPageUnits;
        MapDialogRect(Page(kKeysRow), &window);
        MapDialogRect(Page(kKeysRow), &page);
        AdjustWindowRectEx(&window, static_cast<DWORD>(GetWindowLongW(host_.Get(), GWL_STYLE)), FALSE, 0);
        SetWindowPos(host_.Get(), nullptr, 0, 0, window.right - window.left, window.bottom - window.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        for (const std::size_t row : {kProfilesRow, kKeysRow}) {
            SetWindowPos(Page(row), nullptr, page.left, page.top, page.right - page.left, page.bottom - page.top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }

    SettingsModel model_;
    DisplaySettingsModel display_;
    int profile_ = 0;
    PageContext context_;
    ScopedWindow host_;
    win32::ScopedFont font_;
    win32::ScopedFont bold_;
    std::vector<std::unique_ptr<SettingsPage>> pages_;
};

// ---- The figures ----

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The page and every control on it painted again before the call returns.
void Repaint(HWND page) {
    RedrawWindow(page, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    GdiFlush();
}

double RepaintMs(HWND page) {
    Repaint(page);  // what showing the page left to paint
    const double start = SecondsNow();
    Repaint(page);
    return (SecondsNow() - start) * 1e3;
}

struct RepaintFigures {
    double keysMs = 0;  // medians
    double profilesMs = 0;
};

// The rounds of the two pages taken in turn, each page shown as its tab would, so that load
// from elsewhere falls on both alike.
RepaintFigures MedianRepaints(PageHost& host) {
    std::vector<double> keys, profiles;
    for (int round = 0; round < kRepaintRounds; ++round) {
        host.ShowOnly(kProfilesRow);
        profiles.push_back(RepaintMs(host.Page(kProfilesRow)));
        host.ShowOnly(kKeysRow);
        keys.push_back(RepaintMs(host.Page(kKeysRow)));
    }
    return {Median(keys), Median(profiles)};
}

// What one repaint of a page is made of: its windows and the messages they were sent.
struct RepaintMakeup {
    int windows = 0;  // the page's children
    int paint = 0, erase = 0, drawItem = 0, colour = 0;
};

LRESULT CALLBACK CountingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    auto& makeup = *reinterpret_cast<RepaintMakeup*>(data);
    switch (message) {
        case WM_PAINT: ++makeup.paint; break;
        case WM_ERASEBKGND: ++makeup.erase; break;
        case WM_DRAWITEM: ++makeup.drawItem; break;
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORDLG: ++makeup.colour; break;
        default: break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

BOOL CALLBACK Subclass(HWND child, LPARAM data) {
    SetWindowSubclass(child, CountingProcedure, 1, static_cast<DWORD_PTR>(data));
    return TRUE;
}

BOOL CALLBACK Unsubclass(HWND child, LPARAM) {
    RemoveWindowSubclass(child, CountingProcedure, 1);
    return TRUE;
}

RepaintMakeup MakeupOfRepaint(HWND page) {
    RepaintMakeup makeup;
    EnumChildWindows(page, [](HWND, LPARAM count) { return ++*reinterpret_cast<int*>(count), TRUE; },
                     reinterpret_cast<LPARAM>(&makeup.windows));
    Subclass(page, reinterpret_cast<LPARAM>(&makeup));
    EnumChildWindows(page, Subclass, reinterpret_cast<LPARAM>(&makeup));
    Repaint(page);
    Unsubclass(page, 0);
    EnumChildWindows(page, Unsubclass, 0);
    return makeup;
}

// Every key of the page with its place on the page and its face, as the page shows them.
struct PlacedFace {
    RECT rect;
    KeyFace face;
};

std::vector<PlacedFace> FacesOfPage(HWND page, const SettingsModel& model, int profile) {
    const ProfileRecord& shown = model.ShownProfile(profile);
    const ProfileRecord& loaded = model.LoadedRecord().Profiles[profile];
    std::vector<PlacedFace> faces;
    const auto add = [&](int id, const KeyFace& face) {
        RECT rect{};
        GetWindowRect(GetDlgItem(page, id), &rect);
        MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&rect), 2);
        faces.push_back({rect, face});
    };
    for (int i = 0; i < kStandardKeyCount; ++i) add(IDC_STANDARD_KEY_BASE + i, StandardKeyShown(i, shown, loaded).face);
    for (int e = 0; e < kKeyEntryCount; ++e) {
        add(IDC_BANK_KEY_BASE + e, BankKeyShown(e, shown, model.IsEdited(EditItem::KeyEntry(profile, e))).face);
    }
    return faces;
}

template <typename Draw>
double MedianDrawMs(const std::vector<PlacedFace>& faces, HDC dc, Draw draw) {
    std::vector<double> rounds;
    for (int round = 0; round < kDrawRounds; ++round) {
        const double start = SecondsNow();
        for (const PlacedFace& face : faces) draw(dc, face);
        GdiFlush();
        rounds.push_back((SecondsNow() - start) * 1e3);
    }
    return Median(rounds);
}

struct DrawFigures {
    std::size_t keys = 0;
    double painterMs = 0;
    double rectanglesMs = 0;
};

// The page's painter alone, every face on a bitmap like the screen's, against filling each
// key's frame and face.
bool MeasureDrawing(const PageHost& host, DrawFigures& figures) {
    const HWND page = host.Page(kKeysRow);
    const std::vector<PlacedFace> faces = FacesOfPage(page, host.Model(), host.Profile());
    RECT client{};
    GetClientRect(page, &client);
    const win32::ScopedWindowDc screen(page);
    const win32::ScopedMemoryDc dc(screen.Get());
    const win32::ScopedBitmap bitmap(CreateCompatibleBitmap(screen.Get(), client.right, client.bottom));
    if (dc.Get() == nullptr || !bitmap.Valid()) return false;
    const win32::SelectedObject selected(dc.Get(), bitmap.Get());
    const ProfileRecord& shown = host.Model().ShownProfile(host.Profile());
    KeyPainter painter;
    painter.Prepare(host.Font(), RGB(shown.LtColorRed, shown.LtColorGreen, shown.LtColorBlue));
    const win32::ScopedBrush frame(CreateSolidBrush(RGB(96, 96, 96)));
    const win32::ScopedBrush fill(CreateSolidBrush(RGB(240, 200, 200)));
    figures.keys = faces.size();
    figures.rectanglesMs = MedianDrawMs(faces, dc.Get(), [&](HDC target, const PlacedFace& face) {
        FillRect(target, &face.rect, frame.Get());
        RECT inner = face.rect;
        InflateRect(&inner, -1, -1);
        FillRect(target, &inner, fill.Get());
    });
    figures.painterMs = MedianDrawMs(faces, dc.Get(), [&](HDC target, const PlacedFace& face) {
        painter.Draw(target, face.rect, face.face);
    });
    return true;
}

void PressKey(WORD virtualKey) {
    INPUT keys[2] = {};
    for (INPUT& key : keys) {
        key.type = INPUT_KEYBOARD;
        key.ki.wVk = virtualKey;
        key.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
    }
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
}

std::wstring TextOf(HWND control) {
    wchar_t text[256] = {};
    GetWindowTextW(control, text, 256);
    return text;
}

// The best time from a key press until `done` holds; -1 when it once never did.
template <typename Prepare, typename Done>
double BestPressMs(HWND page, Prepare prepare, Done done) {
    double best = -1;
    for (int round = 0; round < kPressRounds; ++round) {
        prepare();
        Settle(page);
        const double start = SecondsNow();
        PressKey(kPressedKey);
        if (!PumpUntil(page, kPressTimeoutMs, done)) return -1;
        const double ms = (SecondsNow() - start) * 1e3;
        best = best < 0 ? ms : std::min(best, ms);
        Settle(page);  // the key's release
    }
    return best;
}

struct PressFigures {
    double pickMs = -1;
    double echoMs = -1;
};

// Both start with another key picked (the first standard key): the find box picks the key it
// is typed too, so both do a pick's work and its painting; the difference is the capture's.
void MeasurePresses(HWND page, PressFigures& figures) {
    const HWND picked = GetDlgItem(page, IDC_PICKED_KEY);
    const HWND press = GetDlgItem(page, IDC_PRESS_KEY);
    const HWND find = GetDlgItem(page, IDC_FIND_KEY);
    const HWND firstKey = GetDlgItem(page, IDC_STANDARD_KEY_BASE);
    // The capture ends when its button loses the focus: the button keeps it.
    figures.pickMs = BestPressMs(
        page,
        [&] {
            SendMessageW(firstKey, BM_CLICK, 0, 0);
            SendMessageW(press, BM_CLICK, 0, 0);
            SetFocus(press);
        },
        [&] { return TextOf(picked) == kPickedName; });
    figures.echoMs = BestPressMs(
        page,
        [&] {
            SendMessageW(firstKey, BM_CLICK, 0, 0);
            SendMessageW(find, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
            SetFocus(find);
        },
        [&] { return TextOf(find) == kTypedText && TextOf(picked) == kPickedName; });
}

const char* Verdict(bool met) { return met ? "met" : "NOT met"; }

// The messages one repaint sent the page's windows, and what one painted window cost.
void PrintMakeup(const char* page, const RepaintMakeup& makeup, double repaintMs) {
    std::printf("  %-18s %3d windows: %3d WM_PAINT, %3d WM_ERASEBKGND, %3d WM_CTLCOLOR*, %3d WM_DRAWITEM;"
                " %.2f ms a painted window\n",
                page, makeup.windows + 1, makeup.paint, makeup.erase, makeup.colour, makeup.drawItem,
                makeup.paint > 0 ? repaintMs / makeup.paint : 0.0);
}

int Measure() {
    BecomeDpiAware();
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_UPDOWN_CLASS |
                                                             ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    PageHost host;
    if (!host.Create()) {
        std::printf("key page benchmark: the window with the pages could not be made (error %lu)\n", GetLastError());
        return 1;
    }
    const UINT dpi = WindowDpi(host.Host());
    if (dpi == kDpi) {
        std::printf("The key page of Brenik Option.exe in this benchmark's window at %u DPI\n", dpi);
    } else {
        std::printf("The key page of Brenik Option.exe in this benchmark's window at %u DPI: NOT the %lu DPI asked for,\n"
                    "so every figure below is at %u DPI\n",
                    dpi, kDpi, dpi);
    }

    const HWND keyPage = host.Page(kKeysRow);
    SendDlgItemMessageW(keyPage, IDC_STANDARD_KEY_BASE, BM_CLICK, 0, 0);  // a picked key's face too
    const RepaintFigures repaints = MedianRepaints(host);
    const double keysMs = repaints.keysMs;
    const double profilesMs = repaints.profilesMs;
    host.ShowOnly(kProfilesRow);
    const RepaintMakeup profilesMakeup = MakeupOfRepaint(host.Page(kProfilesRow));
    host.ShowOnly(kKeysRow);
    const RepaintMakeup keysMakeup = MakeupOfRepaint(keyPage);

    DrawFigures drawing;
    if (!MeasureDrawing(host, drawing)) {
        std::printf("key page benchmark: no bitmap to draw the keys on\n");
        return 1;
    }
    if (GetForegroundWindow() != host.Host()) {
        std::printf("  (the window is not in front: pressed keys go elsewhere)\n");
    }
    PressFigures presses;
    MeasurePresses(keyPage, presses);

    std::printf("Repaint of a whole page with its controls (RedrawWindow, median of %d):\n", kRepaintRounds);
    std::printf("  the key page (%d drawn keys): %7.2f ms   the profiles page: %7.2f ms   ratio %.2fx\n",
                kStandardKeyCount + kKeyEntryCount, keysMs, profilesMs, keysMs / profilesMs);
    std::printf("  %-44s %7.2f ms   target under %.0f ms (one frame): %s\n", "repaint of the key page", keysMs, kFrameMs,
                Verdict(keysMs < kFrameMs));
    std::printf("What one repaint sends (counted in a round of its own):\n");
    PrintMakeup("the key page", keysMakeup, keysMs);
    PrintMakeup("the profiles page", profilesMakeup, profilesMs);
    std::printf("The key painter alone, all %zu faces on a memory bitmap (median of %d):\n", drawing.keys, kDrawRounds);
    std::printf("  painter: %7.2f ms   two rectangles a key: %7.2f ms   ratio %.2fx\n", drawing.painterMs,
                drawing.rectanglesMs, drawing.painterMs / drawing.rectanglesMs);
    std::printf("  the painter is %.0f%% of the key page's repaint; the rest is the window system's, window by window\n",
                100.0 * drawing.painterMs / keysMs);
    if (presses.pickMs < 0 || presses.echoMs < 0) {
        std::printf("key page benchmark: a pressed key was %s (the picked key reads \"%ls\", the find box \"%ls\")\n",
                    presses.pickMs < 0 ? "not picked" : "not typed into the find box",
                    TextOf(GetDlgItem(keyPage, IDC_PICKED_KEY)).c_str(), TextOf(GetDlgItem(keyPage, IDC_FIND_KEY)).c_str());
        return 1;
    }
    std::printf("A key press (SendInput) until the page shows it, painted, another key picked before (best of %d):\n",
                kPressRounds);
    std::printf("  after \"Press the key\", until picked: %7.2f ms   typed into \"Find a key:\", until shown and picked: %7.2f ms\n",
                presses.pickMs, presses.echoMs);
    const double pressRatio = presses.pickMs / presses.echoMs;
    std::printf("  %-44s ratio %6.2fx   target at most %.2fx: %s\n", "key press to key picked, against an echo",
                pressRatio, kAtMostAgainstEcho, Verdict(pressRatio <= kAtMostAgainstEcho));
    return 0;
}

// This program again with kMeasureArgument while Wine starts programs at kDpi; its output
// printed here.
int MeasureAtDpi() {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    char path[MAX_PATH * 3] = {};
    WideCharToMultiByte(CP_ACP, 0, self, -1, path, sizeof path, nullptr, nullptr);
    test::ProgramRun run;
    {
        const bench::DpiForAWhile dpi(kDpi);
        if (!dpi.Set()) std::printf("key page benchmark: LogPixels could not be set to %lu\n", kDpi);
        run = test::RunProgram(path, kMeasureArgument, test::ErrorStream::kApart, kMeasureTimeoutMs);
    }
    std::fputs(run.output.c_str(), stdout);
    if (run.status != 0) {
        std::printf("key page benchmark: could not measure (the measuring run ended with %ld)\n", run.status);
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], kMeasureArgument) == 0) {
        const int status = Measure();
        std::fflush(stdout);
        return status;
    }
    return MeasureAtDpi();
}
