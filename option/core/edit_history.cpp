#include "edit_history.h"

namespace brenik::option {
namespace {

bool OneItem(const EditStep& step, const EditItem& item) { return step.size() == 1 && step.front().item == item; }

std::size_t BytesOf(const EditStep& step) {
    std::size_t bytes = 0;
    for (const ItemChange& change : step) bytes += change.before.size() + change.after.size();
    return bytes;
}

}  // namespace

void EditHistory::Record(EditStep step, bool typing) {
    if (step.empty()) return;
    redo_.clear();
    if (typing && typingOpen_ && !undo_.empty() && OneItem(step, step.front().item) &&
        OneItem(undo_.back(), step.front().item)) {
        ItemChange& open = undo_.back().front();
        open.after = std::move(step.front().after);
        // Typed back to where it began: the step changes nothing and is no step.
        if (open.after == open.before) {
            undoBytes_ -= BytesOf(undo_.back());
            undo_.pop_back();
            typingOpen_ = false;
        }
        return;
    }
    undoBytes_ += BytesOf(step);
    undo_.push_back(std::move(step));
    while (undo_.size() > 1 && (undo_.size() > kMaxSteps || undoBytes_ > kMaxBytes)) {
        undoBytes_ -= BytesOf(undo_.front());
        undo_.erase(undo_.begin());
    }
    typingOpen_ = typing && undo_.back().size() == 1;
}

EditStep EditHistory::TakeUndo() {
    typingOpen_ = false;
    if (undo_.empty()) return {};
    EditStep step = std::move(undo_.back());
    undo_.pop_back();
    undoBytes_ -= BytesOf(step);
    redo_.push_back(step);
    return step;
}

EditStep EditHistory::TakeRedo() {
    typingOpen_ = false;
    if (redo_.empty()) return {};
    EditStep step = std::move(redo_.back());
    redo_.pop_back();
    undoBytes_ += BytesOf(step);
    undo_.push_back(step);
    return step;
}

void EditHistory::Clear() {
    undo_.clear();
    redo_.clear();
    undoBytes_ = 0;
    typingOpen_ = false;
}

}  // namespace brenik::option
