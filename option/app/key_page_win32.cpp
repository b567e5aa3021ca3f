#include "key_page_win32.h"

#include "keyboard_layout.h"
#include "option_resources.h"
#include "option_strings_win32.h"

#include <algorithm>
#include <cmath>

namespace brenik::option {
namespace {

constexpr int kBankRows = kKeyEntryCount / kBankColumns;
constexpr int kGapDivisor = 10;    // the gap between two keys, of a key's width
constexpr double kBankKeyAspect = 1.1;  // a numbered key at most this much taller than wide

BYTE Channel(std::int32_t value) { return static_cast<BYTE>(std::clamp<std::int32_t>(value, 0, 255)); }

RECT ChildRect(HWND page, int id) {
    RECT rect{};
    GetWindowRect(GetDlgItem(page, id), &rect);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// Key names are plain ASCII: a character outside it matches none.
std::string Narrowed(const std::wstring& text) {
    std::string narrow;
    for (const wchar_t c : text) narrow += c < 0x80 ? static_cast<char>(c) : '\x7F';
    return narrow;
}

int Round(double value) { return static_cast<int>(std::lround(value)); }

}  // namespace

KeyPage::KeyPage(PageContext& context) : SettingsPage(context, IDD_PAGE_KEYS, IDS_PAGE_KEYS), panel_(window_, context) {}

void KeyPage::OnInit() {
    MakeKeys();
    capture_.Attach(GetDlgItem(window_, IDC_PRESS_KEY), Text(IDS_PRESS_NOW),
                    [this](std::optional<std::uint8_t> usage) { PickPressed(usage); });
    SendDlgItemMessageW(window_, IDC_FIND_KEY, EM_LIMITTEXT, 40, 0);
    panel_.Init();
    Layout();
}

void KeyPage::MakeKeys() {
    // Drawn by the page; clicked to pick; not Tab stops (the panel's find and capture reach
    // every key from the keyboard).
    const DWORD style = WS_CHILD | WS_VISIBLE | BS_OWNERDRAW;
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    for (int i = 0; i < kStandardKeyCount; ++i) {
        standardKeys_[static_cast<std::size_t>(i)] =
            CreateWindowExW(0, L"BUTTON", StandardKeyName(i).c_str(), style, 0, 0, 0, 0, window_,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_STANDARD_KEY_BASE + i)), instance, nullptr);
    }
    for (int e = 0; e < kKeyEntryCount; ++e) {
        bankKeys_[static_cast<std::size_t>(e)] =
            CreateWindowExW(0, L"BUTTON", BankKeyName(e).c_str(), style, 0, 0, 0, 0, window_,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_BANK_KEY_BASE + e)), instance, nullptr);
    }
    for (const DrawnKey& key : StandardKeyLayout()) {
        EnableWindow(standardKeys_[static_cast<std::size_t>(key.index)], key.onKeyboard);
    }
    for (const BankKey& key : AssignableKeyBank()) {
        EnableWindow(bankKeys_[static_cast<std::size_t>(key.index)], key.onKeyboard);
    }
}

void KeyPage::OnSize() {
    if (standardKeys_[0] != nullptr) Layout();
}

void KeyPage::Layout() {
    RECT client{};
    GetClientRect(window_, &client);
    const RECT area = ChildRect(window_, IDC_KEYBOARD_AREA);
    const int margin = area.left;
    // The keyboard as large as the area's height and the page's width let it be, centred.
    const double width = std::max(1L, client.right - 2 * margin);
    const double height = std::max(1L, area.bottom - area.top);
    const double quarter = std::min(width / StandardLayoutWidth(), height / StandardLayoutHeight());
    const int gap = std::max(1, Round(quarter * kQuarterKey / kGapDivisor));
    const int left = margin + Round((width - quarter * StandardLayoutWidth()) / 2);
    HDWP moves = BeginDeferWindowPos(kStandardKeyCount + kKeyEntryCount);
    const auto place = [&](HWND key, int x, int y, int w, int h) {
        if (moves != nullptr) {
            moves = DeferWindowPos(moves, key, nullptr, x, y, std::max(1, w), std::max(1, h),
                                   SWP_NOZORDER | SWP_NOACTIVATE);
        }
    };
    for (const DrawnKey& key : StandardKeyLayout()) {
        const int x = left + Round(key.x * quarter);
        const int y = area.top + Round(key.y * quarter);
        place(standardKeys_[static_cast<std::size_t>(key.index)], x, y,
              left + Round((key.x + key.width) * quarter) - x - gap, area.top + Round((key.y + key.height) * quarter) - y - gap);
    }
    // The numbered keys fill the space left of the panel, below their label.
    const RECT label = ChildRect(window_, IDC_BANK_LABEL);
    const RECT panel = ChildRect(window_, IDC_PRESS_KEY);
    const double bankWidth = std::max(1L, panel.left - margin - label.left);
    const double bankHeight = std::max(1L, client.bottom - margin - label.bottom - gap);
    const double pitch = bankWidth / kBankColumns;
    const double rowPitch = std::min(bankHeight / kBankRows, pitch * kBankKeyAspect);
    for (int e = 0; e < kKeyEntryCount; ++e) {
        const int column = e % kBankColumns;
        const int row = e / kBankColumns;
        const int x = label.left + Round(column * pitch);
        const int y = label.bottom + gap + Round(row * rowPitch);
        place(bankKeys_[static_cast<std::size_t>(e)], x, y, label.left + Round((column + 1) * pitch) - x - gap,
              label.bottom + gap + Round((row + 1) * rowPitch) - y - gap);
    }
    if (moves != nullptr) EndDeferWindowPos(moves);
}

void KeyPage::ShowKey(HWND button, const ShownKey& shown, ShownKey& kept) {
    if (shown.name != kept.name) SetWindowTextW(button, shown.name.c_str());
    if (shown.face != kept.face) InvalidateRect(button, nullptr, FALSE);
    kept = shown;
}

void KeyPage::ShowOwn() {
    const int profile = context_.profile;
    const ProfileRecord& shown = context_.model.ShownProfile(profile);
    const ProfileRecord& loaded = context_.model.LoadedRecord().Profiles[profile];
    const COLORREF tint = RGB(Channel(shown.LtColorRed), Channel(shown.LtColorGreen), Channel(shown.LtColorBlue));
    if (painter_.Prepare(context_.fonts.normal, tint)) InvalidateRect(window_, nullptr, FALSE);
    for (int i = 0; i < kStandardKeyCount; ++i) {
        ShownKey key = StandardKeyShown(i, shown, loaded);
        key.face.picked = picked_ == PickedKey{PickedKey::Kind::kStandard, i};
        ShowKey(standardKeys_[static_cast<std::size_t>(i)], key, standard_[static_cast<std::size_t>(i)]);
    }
    for (int e = 0; e < kKeyEntryCount; ++e) {
        ShownKey key = BankKeyShown(e, shown, context_.model.IsEdited(EditItem::KeyEntry(profile, e)));
        key.face.picked = picked_ == PickedKey{PickedKey::Kind::kBank, e};
        ShowKey(bankKeys_[static_cast<std::size_t>(e)], key, bank_[static_cast<std::size_t>(e)]);
    }
    panel_.Show(picked_);
}

const ShownKey* KeyPage::KeyOfControl(int id) const {
    if (id >= IDC_STANDARD_KEY_BASE && id < IDC_STANDARD_KEY_BASE + kStandardKeyCount) {
        return &standard_[static_cast<std::size_t>(id - IDC_STANDARD_KEY_BASE)];
    }
    if (id >= IDC_BANK_KEY_BASE && id < IDC_BANK_KEY_BASE + kKeyEntryCount) {
        return &bank_[static_cast<std::size_t>(id - IDC_BANK_KEY_BASE)];
    }
    return nullptr;
}

bool KeyPage::OnDrawItem(const DRAWITEMSTRUCT& item) {
    const ShownKey* key = KeyOfControl(static_cast<int>(item.CtlID));
    if (key == nullptr) return false;
    painter_.Draw(item.hDC, item.rcItem, key->face);
    return true;
}

bool KeyPage::OnOwnCommand(WORD id, WORD code) {
    if (id >= IDC_STANDARD_KEY_BASE && id < IDC_STANDARD_KEY_BASE + kStandardKeyCount) {
        if (code == BN_CLICKED) Pick(PickedKey{PickedKey::Kind::kStandard, id - IDC_STANDARD_KEY_BASE});
        return true;
    }
    if (id >= IDC_BANK_KEY_BASE && id < IDC_BANK_KEY_BASE + kKeyEntryCount) {
        if (code == BN_CLICKED) Pick(PickedKey{PickedKey::Kind::kBank, id - IDC_BANK_KEY_BASE});
        return true;
    }
    switch (id) {
        case IDC_PRESS_KEY:
            if (code == BN_CLICKED && !capture_.Capturing()) capture_.Start();
            return true;
        case IDC_FIND_KEY:
            if (code == EN_CHANGE) PickNamed();
            return true;
        default:
            return panel_.OnCommand(id, code);
    }
}

void KeyPage::Pick(std::optional<PickedKey> key) {
    picked_ = key;
    ShowOwn();
}

void KeyPage::PickPressed(std::optional<std::uint8_t> usage) {
    const ProfileRecord& loaded = context_.model.LoadedRecord().Profiles[context_.profile];
    const std::optional<PickedKey> key = usage ? KeyForUsage(*usage, loaded.standardkey) : std::nullopt;
    if (!key) {
        context_.say(Text(IDS_PRESSED_NO_KEY));
        return;
    }
    Pick(key);
}

void KeyPage::PickNamed() {
    wchar_t typed[64] = {};
    GetDlgItemTextW(window_, IDC_FIND_KEY, typed, 64);
    const std::wstring text = typed;
    if (text.find_first_not_of(L' ') == std::wstring::npos) return;
    const std::string narrow = Narrowed(text);
    if (const std::optional<int> index = StandardKeyNamed(narrow)) {
        Pick(PickedKey{PickedKey::Kind::kStandard, *index});
        return;
    }
    for (const BankKey& key : AssignableKeyBank()) {
        if (key.onKeyboard && NameContains(Narrowed(BankKeyName(key.index)), narrow)) {
            Pick(PickedKey{PickedKey::Kind::kBank, key.index});
            return;
        }
    }
    context_.say(Format(IDS_FIND_NONE, text.c_str()));
}

void KeyPage::MacroRecorded(int profile, int key) {
    if (profile != context_.profile || key < 0 || key >= kKeyEntryCount || window_ == nullptr) return;
    Pick(PickedKey{PickedKey::Kind::kBank, key});
}

}  // namespace brenik::option
