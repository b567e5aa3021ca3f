// How long the key page takes to draw its whole keyboard (the 97 standard keys and the 44
// numbered ones) at 144 DPI with its cached fonts and brushes, against a baseline of the same
// run that only fills each key's two rectangles. Prints both and their ratio; the page's aim is
// under 16 ms (one frame) for the whole keyboard.

#include "keyboard_layout.h"
#include "keyboard_picture_win32.h"
#include "scoped_gdi.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace brenik::option;

constexpr int kDpi = 144;
constexpr int kRounds = 200;
constexpr int kQuarterPixels = 11;  // a quarter key at 144 DPI on the page

struct Key {
    RECT rect;
    KeyFace face;
};

std::vector<Key> Keyboard() {
    std::vector<Key> keys;
    for (const DrawnKey& key : StandardKeyLayout()) {
        KeyFace face;
        face.label = std::wstring(key.name, key.name + std::char_traits<char>::length(key.name));
        face.onKeyboard = key.onKeyboard;
        face.locked = key.index % 17 == 0;
        face.edited = key.index % 13 == 0;
        keys.push_back({RECT{key.x * kQuarterPixels, key.y * kQuarterPixels, (key.x + key.width) * kQuarterPixels - 3,
                             (key.y + key.height) * kQuarterPixels - 3},
                        face});
    }
    for (int e = 0; e < brenik::kKeyEntryCount; ++e) {
        KeyFace face;
        face.corner = std::to_wstring(e + 1);
        face.label = e % 3 == 0 ? L"Ctrl+Shift+A" : L"Macro";
        face.changed = true;
        const int x = (e % kBankColumns) * 50;
        const int y = 320 + (e / kBankColumns) * 52;
        keys.push_back({RECT{x, y, x + 47, y + 49}, face});
    }
    return keys;
}

template <typename Draw>
double MillisecondsPerKeyboard(HDC dc, const std::vector<Key>& keys, Draw draw) {
    const auto start = std::chrono::steady_clock::now();
    for (int round = 0; round < kRounds; ++round) {
        for (const Key& key : keys) draw(dc, key);
    }
    GdiFlush();
    const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
    return spent.count() / kRounds;
}

}  // namespace

int main() {
    const brenik::win32::ScopedMemoryDc dc(nullptr);
    const brenik::win32::ScopedBitmap bitmap(CreateBitmap(1200, 560, 1, 32, nullptr));
    SelectObject(dc.Get(), bitmap.Get());
    LOGFONTW look{};
    look.lfHeight = -MulDiv(9, kDpi, 72);
    look.lfCharSet = DEFAULT_CHARSET;
    wcscpy_s(look.lfFaceName, L"Tahoma");
    const brenik::win32::ScopedFont font(CreateFontIndirectW(&look));
    KeyPainter painter;
    painter.Prepare(font.Get(), RGB(255, 0, 0));
    const brenik::win32::ScopedBrush frame(CreateSolidBrush(RGB(96, 96, 96)));
    const brenik::win32::ScopedBrush face(CreateSolidBrush(RGB(240, 200, 200)));
    const std::vector<Key> keys = Keyboard();

    const double baseline = MillisecondsPerKeyboard(dc.Get(), keys, [&](HDC target, const Key& key) {
        FillRect(target, &key.rect, frame.Get());
        RECT inner = key.rect;
        InflateRect(&inner, -1, -1);
        FillRect(target, &inner, face.Get());
    });
    const double keyboard = MillisecondsPerKeyboard(dc.Get(), keys, [&](HDC target, const Key& key) {
        painter.Draw(target, key.rect, key.face);
    });
    std::printf("keys drawn per keyboard: %zu at %d DPI, %d rounds\n", keys.size(), kDpi, kRounds);
    std::printf("baseline (two rectangles a key): %.3f ms per keyboard\n", baseline);
    std::printf("key page painter:               %.3f ms per keyboard (%.1f x the baseline; aim: under 16 ms)\n",
                keyboard, baseline > 0 ? keyboard / baseline : 0.0);
    return 0;
}
