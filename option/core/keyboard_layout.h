#pragma once
// Where the keys are drawn on the key page: the 97 standard keys in their rows, in the order of
// the profile's `standardkey` table, and the 44 assignable keys as a numbered bank.
//
// Sizes are in quarter key widths, so that a key 1.25 or 1.75 wide is a whole number; the window
// scales them by its DPI. Rows count from 0 at the top of each block; the standard keys form
// three blocks side by side as on the keyboard (main block, editing and arrow block, keypad),
// with Esc and the three keys above the editing block (Print Screen, Scroll Lock, Pause) in the
// row above the main block.

#include "profile_record.h"

#include <array>
#include <cstdint>
#include <string>

namespace brenik::option {

constexpr int kQuarterKey = 4;  // one ordinary key is 4 quarters wide and high

struct DrawnKey {
    int index = 0;        // its entry in `standardkey` (0..96)
    const char* name = "";  // the key's own name: "Caps Lock", "Num 7", "Q"
    int x = 0;            // left edge, quarters
    int y = 0;            // top edge, quarters
    int width = kQuarterKey;
    int height = kQuarterKey;
    // Whether the keyboard's key map holds this key. Those it does not hold (the keypad, the
    // Yen key) are kept in the profile but never reach the keyboard: drawn greyed, not picked.
    bool onKeyboard = true;
};

// The 97 standard keys, index i at element i.
const std::array<DrawnKey, kStandardKeyCount>& StandardKeyLayout();
// The size of the whole standard block, quarters.
int StandardLayoutWidth();
int StandardLayoutHeight();

struct BankKey {
    int index = 0;   // key entry 0..43; the keyboard's key number is index + 1
    // What "standard function" means for this key on the keyboard: the name of the code the
    // keyboard sends for it ("F1", "1"), or empty when the keys' blocks do not carry it.
    const char* standardFunction = "";
    bool hasKeyBlock = false;  // entries 0..11, 12..21, 37..41: a single key or standard travels
    bool onKeyboard = true;    // entries 42 and 43 exist in the record only
};

const std::array<BankKey, kKeyEntryCount>& AssignableKeyBank();
constexpr int kBankColumns = 11;  // the bank is drawn as 4 rows of 11

}  // namespace brenik::option
