#include "keyboard_layout.h"

#include "key_assignment.h"
#include "key_code_catalogue.h"
#include "profile_store.h"
#include "standard_key_positions.h"

#include <algorithm>
#include <initializer_list>

namespace brenik::option {
namespace {

constexpr int kHalfGap = 2;  // between the top row and the main rows, and between blocks

// The main block: five rows of 15 keys' width, below the top row.
constexpr int kMainWidth = 15 * kQuarterKey;
constexpr int kMainTop = kQuarterKey + kHalfGap;
// The editing block and the keypad beside it.
constexpr int kEditingLeft = kMainWidth + kHalfGap;
constexpr int kKeypadLeft = kEditingLeft + 3 * kQuarterKey + kHalfGap;

constexpr int Column(int left, int n) { return left + n * kQuarterKey; }
constexpr int Row(int n) { return kMainTop + n * kQuarterKey; }

// Index 58 sends 0xBF by default, but the key sits where the left Windows key sits.
constexpr int kLeftWinPlace = 58;

struct MainRow {
    int firstIndex;
    std::initializer_list<int> widths;  // quarters, left to right
};

// Widths of the main rows; each adds up to the block's 60 quarters.
const MainRow kMainRows[] = {
    {0, {4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4}},   // ` 1..0 - = Yen Backspace
    {15, {6, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 6}},     // Tab Q..P [ ] backslash
    {29, {7, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 5}},     // Caps A..L ; ' # Enter
    {43, {5, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 7}},     // LShift \ Z../ Ro RShift
    {57, {5, 5, 5, 25, 5, 5, 5, 5}},                       // Ctrl Win Alt Space Alt Win Menu Ctrl
};

struct Place {
    int index;
    int x;
    int y;
    int width = kQuarterKey;
    int height = kQuarterKey;
};

const Place kOtherPlaces[] = {
    // The top row: Esc over the main block's first column (the function keys' places stay
    // empty, those keys are assignable ones), three keys over the editing block, and the
    // keypad's comma over the keypad.
    {93, 0, 0},
    {94, Column(kEditingLeft, 0), 0},
    {95, Column(kEditingLeft, 1), 0},
    {96, Column(kEditingLeft, 2), 0},
    {91, Column(kKeypadLeft, 3), 0},
    // Editing block: Insert Home Page Up over Delete End Page Down; the arrows below a gap.
    {65, Column(kEditingLeft, 0), Row(0)},
    {68, Column(kEditingLeft, 1), Row(0)},
    {72, Column(kEditingLeft, 2), Row(0)},
    {66, Column(kEditingLeft, 0), Row(1)},
    {69, Column(kEditingLeft, 1), Row(1)},
    {73, Column(kEditingLeft, 2), Row(1)},
    {70, Column(kEditingLeft, 1), Row(3)},
    {67, Column(kEditingLeft, 0), Row(4)},
    {71, Column(kEditingLeft, 1), Row(4)},
    {74, Column(kEditingLeft, 2), Row(4)},
    // Keypad, four columns.
    {75, Column(kKeypadLeft, 0), Row(0)},
    {79, Column(kKeypadLeft, 1), Row(0)},
    {84, Column(kKeypadLeft, 2), Row(0)},
    {89, Column(kKeypadLeft, 3), Row(0)},
    {76, Column(kKeypadLeft, 0), Row(1)},
    {80, Column(kKeypadLeft, 1), Row(1)},
    {85, Column(kKeypadLeft, 2), Row(1)},
    {90, Column(kKeypadLeft, 3), Row(1), kQuarterKey, 2 * kQuarterKey},
    {77, Column(kKeypadLeft, 0), Row(2)},
    {81, Column(kKeypadLeft, 1), Row(2)},
    {86, Column(kKeypadLeft, 2), Row(2)},
    {78, Column(kKeypadLeft, 0), Row(3)},
    {82, Column(kKeypadLeft, 1), Row(3)},
    {87, Column(kKeypadLeft, 2), Row(3)},
    {92, Column(kKeypadLeft, 3), Row(3), kQuarterKey, 2 * kQuarterKey},
    {83, Column(kKeypadLeft, 0), Row(4), 2 * kQuarterKey, kQuarterKey},
    {88, Column(kKeypadLeft, 2), Row(4)},
};

const char* KeyName(int index) {
    if (index == kLeftWinPlace) return "Left Win";
    return KeyCode(kDefaultStandardKeys[index]).name.c_str();
}

void Put(std::array<DrawnKey, kStandardKeyCount>& keys, int index, int x, int y, int width, int height) {
    DrawnKey& key = keys[index];
    key.index = index;
    key.name = KeyName(index);
    key.x = x;
    key.y = y;
    key.width = width;
    key.height = height;
    key.onKeyboard = StandardKeyPositions[index] != kNoPosition;
}

std::array<DrawnKey, kStandardKeyCount> BuildLayout() {
    std::array<DrawnKey, kStandardKeyCount> keys{};
    for (int row = 0; row < static_cast<int>(std::size(kMainRows)); ++row) {
        int index = kMainRows[row].firstIndex;
        int x = 0;
        for (const int width : kMainRows[row].widths) {
            Put(keys, index++, x, Row(row), width, kQuarterKey);
            x += width;
        }
    }
    for (const Place& place : kOtherPlaces) Put(keys, place.index, place.x, place.y, place.width, place.height);
    return keys;
}

// The keys' blocks and the code each sends for its standard function.
struct KeyBlock {
    int first;
    int count;
    std::uint8_t defaultCode;
};

constexpr KeyBlock kKeyBlocks[] = {
    {0, 12, 0x3A},   // F1..F12
    {12, 10, 0x1E},  // 1..9, 0
    {37, 5, 0x1E},   // 1..5
};

const char* StandardFunction(int index) {
    for (const KeyBlock& block : kKeyBlocks) {
        if (index >= block.first && index < block.first + block.count) {
            return KeyCode(static_cast<std::uint8_t>(block.defaultCode + index - block.first)).name.c_str();
        }
    }
    return "";
}

std::array<BankKey, kKeyEntryCount> BuildBank() {
    std::array<BankKey, kKeyEntryCount> bank{};
    for (int index = 0; index < kKeyEntryCount; ++index) {
        bank[index].index = index;
        bank[index].standardFunction = StandardFunction(index);
        bank[index].hasKeyBlock = editing::HasKeyBlock(index);
        bank[index].onKeyboard = index < kProgrammableKeys;
    }
    return bank;
}

}  // namespace

const std::array<DrawnKey, kStandardKeyCount>& StandardKeyLayout() {
    static const std::array<DrawnKey, kStandardKeyCount> layout = BuildLayout();
    return layout;
}

int StandardLayoutWidth() {
    int right = 0;
    for (const DrawnKey& key : StandardKeyLayout()) right = std::max(right, key.x + key.width);
    return right;
}

int StandardLayoutHeight() {
    int bottom = 0;
    for (const DrawnKey& key : StandardKeyLayout()) bottom = std::max(bottom, key.y + key.height);
    return bottom;
}

const std::array<BankKey, kKeyEntryCount>& AssignableKeyBank() {
    static const std::array<BankKey, kKeyEntryCount> bank = BuildBank();
    return bank;
}

}  // namespace brenik::option
