#pragma once
// The steps of the user's edits, for undo and redo. A step is what one action of the user
// changed: each item with its value before and after, as the window showed it. Typing into one
// text field grows one step until another item is edited, so an undo takes back the word, not
// one letter. A new step drops the steps that were undone.

#include "settings_model.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace brenik::option {

struct ItemChange {
    EditItem item;
    std::vector<std::uint8_t> before;
    std::vector<std::uint8_t> after;
    bool beforeWasEdit = false;  // the item was the user's edit already before the step
};
using EditStep = std::vector<ItemChange>;

class EditHistory {
public:
    // Far more than a session of editing makes; past either the oldest step goes, so a window left
    // open for days does not grow without end (an import is about 170 KB of key entries).
    static constexpr std::size_t kMaxSteps = 2000;
    static constexpr std::size_t kMaxBytes = 64 * 1024 * 1024;

    // typing: the step is one text field's new text, to be merged with the step before when that
    // was the same field's typing too.
    void Record(EditStep step, bool typing);
    // The step to take back (moved onto the redo list), or an empty step when there is none.
    EditStep TakeUndo();
    EditStep TakeRedo();
    const EditStep* NextUndo() const { return undo_.empty() ? nullptr : &undo_.back(); }
    const EditStep* NextRedo() const { return redo_.empty() ? nullptr : &redo_.back(); }
    void Clear();

private:
    std::vector<EditStep> undo_;
    std::vector<EditStep> redo_;
    std::size_t undoBytes_ = 0;  // the values the undo steps hold
    bool typingOpen_ = false;  // the last step is typing that may still grow
};

}  // namespace brenik::option
