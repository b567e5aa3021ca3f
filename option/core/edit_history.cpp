#include "edit_history.h"

namespace brenik::option {
namespace {

bool OneItem(const EditStep& step, const EditItem& item) { return step.size() == 1 && step.front().item == item; }

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
            undo_.pop_back();
            typingOpen_ = false;
        }
        return;
    }
    undo_.push_back(std::move(step));
    if (undo_.size() > kMaxSteps) undo_.erase(undo_.begin());
    typingOpen_ = typing && undo_.back().size() == 1;
}

EditStep EditHistory::TakeUndo() {
    typingOpen_ = false;
    if (undo_.empty()) return {};
    EditStep step = std::move(undo_.back());
    undo_.pop_back();
    redo_.push_back(step);
    return step;
}

EditStep EditHistory::TakeRedo() {
    typingOpen_ = false;
    if (redo_.empty()) return {};
    EditStep step = std::move(redo_.back());
    redo_.pop_back();
    undo_.push_back(step);
    return step;
}

void EditHistory::Clear() {
    undo_.clear();
    redo_.clear();
    typingOpen_ = false;
}

}  // namespace brenik::option
