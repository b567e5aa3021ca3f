#include "keyboard_picture_win32.h"

#include <algorithm>
#include <cwctype>

namespace brenik::option {
namespace {

constexpr COLORREF kPlainFace = RGB(244, 244, 244);
constexpr int kTintPercent = 30;  // enough of the lighting colour to see it, little enough to read on
constexpr COLORREF kFrame = RGB(96, 96, 96);
constexpr COLORREF kGreyFace = RGB(214, 214, 214);
constexpr COLORREF kGreyText = RGB(140, 140, 140);
constexpr COLORREF kEditMark = RGB(232, 104, 0);

BYTE Mix(int from, int to, int percent) { return static_cast<BYTE>(from + (to - from) * percent / 100); }

COLORREF Tinted(COLORREF tint) {
    return RGB(Mix(GetRValue(kPlainFace), GetRValue(tint), kTintPercent),
               Mix(GetGValue(kPlainFace), GetGValue(tint), kTintPercent),
               Mix(GetBValue(kPlainFace), GetBValue(tint), kTintPercent));
}

bool IsLight(COLORREF colour) {
    return GetRValue(colour) * 299 + GetGValue(colour) * 587 + GetBValue(colour) * 114 >= 140 * 1000;
}

win32::ScopedFont FontLike(HFONT font, int percent, LONG weight) {
    LOGFONTW look{};
    if (font == nullptr || GetObjectW(font, sizeof look, &look) == 0) {
        look.lfHeight = -12;
        look.lfCharSet = DEFAULT_CHARSET;
        wcscpy_s(look.lfFaceName, L"MS Shell Dlg 2");
    }
    look.lfHeight = MulDiv(look.lfHeight, percent, 100);
    look.lfWeight = weight;
    look.lfQuality = CLEARTYPE_QUALITY;
    return win32::ScopedFont(CreateFontIndirectW(&look));
}

int FontPixels(HFONT font) {
    LOGFONTW look{};
    if (font == nullptr || GetObjectW(font, sizeof look, &look) == 0) return 12;
    return std::max(8, static_cast<int>(look.lfHeight < 0 ? -look.lfHeight : look.lfHeight));
}

RECT Inset(RECT rect, int by) {
    InflateRect(&rect, -by, -by);
    return rect;
}

}  // namespace

bool KeyPainter::Prepare(HFONT pageFont, COLORREF tint) {
    const bool changed = pageFont != pageFont_ || tint != tint_;
    if (pageFont != pageFont_) {
        pageFont_ = pageFont;
        label_ = FontLike(pageFont, 90, FW_NORMAL);
        changedLabel_ = FontLike(pageFont, 90, FW_BOLD);
        corner_ = FontLike(pageFont, 75, FW_NORMAL);
        textHeight_ = FontPixels(label_.Get());
        frame_ = win32::ScopedBrush(CreateSolidBrush(kFrame));
        picked_ = win32::ScopedBrush(CreateSolidBrush(GetSysColor(COLOR_HIGHLIGHT)));
        mark_ = win32::ScopedBrush(CreateSolidBrush(kEditMark));
        greyFace_ = win32::ScopedBrush(CreateSolidBrush(kGreyFace));
    }
    if (tint != tint_) {
        tint_ = tint;
        const COLORREF face = Tinted(tint);
        face_ = win32::ScopedBrush(CreateSolidBrush(face));
        const bool light = IsLight(face);
        text_ = light ? RGB(0, 0, 0) : RGB(255, 255, 255);
        changedText_ = light ? RGB(0, 64, 200) : RGB(255, 232, 120);
        padlock_ = win32::ScopedBrush(CreateSolidBrush(light ? RGB(70, 70, 70) : RGB(230, 230, 230)));
    }
    greyText_ = kGreyText;
    return changed;
}

void KeyPainter::Draw(HDC dc, const RECT& bounds, const KeyFace& face) const {
    // The labels select our fonts; the button's DC gets its own back when the key is drawn.
    const win32::SelectedObject keepFont(dc, GetCurrentObject(dc, OBJ_FONT));
    const int line = std::max(1, Scaled(1));
    FillRect(dc, &bounds, face.picked ? picked_.Get() : frame_.Get());
    const RECT inner = Inset(bounds, face.picked ? std::max(3, Scaled(3)) : line);
    FillRect(dc, &inner, face.onKeyboard ? face_.Get() : greyFace_.Get());

    SetBkMode(dc, TRANSPARENT);
    // The text keeps its place when the key is picked and its frame grows.
    const RECT text = Inset(bounds, line * 2);
    RECT labelArea = text;
    if (!face.corner.empty()) {
        SelectObject(dc, corner_.Get());
        SetTextColor(dc, face.onKeyboard ? text_ : greyText_);
        RECT corner = text;
        DrawTextW(dc, face.corner.c_str(), static_cast<int>(face.corner.size()), &corner,
                  DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
        labelArea.top += MulDiv(textHeight_, 3, 4);
    }
    if (!face.label.empty()) DrawLabel(dc, labelArea, face);
    if (face.locked) DrawPadlock(dc, inner);
    if (face.edited) DrawEditDot(dc, inner);
}

void KeyPainter::DrawLabel(HDC dc, const RECT& area, const KeyFace& face) const {
    SetTextColor(dc, !face.onKeyboard ? greyText_ : face.changed ? changedText_ : text_);
    const HFONT font = face.changed ? changedLabel_.Get() : label_.Get();
    SelectObject(dc, font);
    std::wstring text = face.label;
    const int width = area.right - area.left;
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    RECT placed = area;
    if (size.cx <= width) {
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &placed, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        return;
    }
    // Too wide: the smaller font, on two lines where the label breaks ("Ctrl+Shift+" over "A",
    // "Left" over "Win"), else cut with an ellipsis.
    SelectObject(dc, corner_.Get());
    const std::size_t plus = text.size() > 1 ? text.rfind(L'+', text.size() - 2) : std::wstring::npos;
    if (plus != std::wstring::npos) text.insert(plus + 1, L"\n");
    // "Num7" reads best as "Num" over "7": a run of letters ends where the rest begins.
    if (plus == std::wstring::npos && text.find(L' ') == std::wstring::npos) {
        std::size_t letters = 0;
        while (letters < text.size() && iswalpha(text[letters])) ++letters;
        if (letters > 0 && letters < text.size()) text.insert(letters, L"\n");
    }
    const bool breaks = text.find_first_of(L" \n") != std::wstring::npos;
    if (!breaks) {
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &placed,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
        return;
    }
    const UINT format = DT_CENTER | DT_WORDBREAK | DT_NOPREFIX;
    RECT measured = area;
    const int height = DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured, format | DT_CALCRECT);
    placed.top += std::max(0, static_cast<int>((area.bottom - area.top - height) / 2));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &placed, format);
}

void KeyPainter::DrawPadlock(HDC dc, const RECT& inner) const {
    // A body and an inverted U above it, in the bottom right corner.
    const int line = std::max(1, Scaled(1));
    const int width = std::max(5, Scaled(7));
    const int bodyHeight = std::max(4, Scaled(5));
    const int shackleHeight = std::max(3, Scaled(4));
    const RECT body{inner.right - width - line * 2, inner.bottom - bodyHeight - line * 2, inner.right - line * 2,
                    inner.bottom - line * 2};
    const int inset = std::max(1, width / 5);
    const RECT left{body.left + inset, body.top - shackleHeight, body.left + inset + line, body.top};
    const RECT right{body.right - inset - line, body.top - shackleHeight, body.right - inset, body.top};
    const RECT top{left.left, left.top, right.right, left.top + line};
    for (const RECT& part : {body, left, right, top}) FillRect(dc, &part, padlock_.Get());
}

void KeyPainter::DrawEditDot(HDC dc, const RECT& inner) const {
    const int size = std::max(4, Scaled(5));
    const int gap = std::max(2, Scaled(2));
    const HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
    const HGDIOBJ oldBrush = SelectObject(dc, mark_.Get());
    Ellipse(dc, inner.right - gap - size, inner.top + gap, inner.right - gap + 1, inner.top + gap + size + 1);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
}

}  // namespace brenik::option
