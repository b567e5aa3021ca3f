#include "apply_flow_win32.h"

#include "block_reading_win32.h"
#include "debug_output.h"
#include "ini_file.h"
#include "option_resources.h"
#include "option_strings_win32.h"
#include "record_editor.h"

namespace brenik::option {
namespace {

UINT StatusText(ApplyStatus status) {
    switch (status) {
        case ApplyStatus::kIdle: return IDS_STATUS_READY;
        case ApplyStatus::kNothingToApply: return IDS_STATUS_NOTHING;
        case ApplyStatus::kSending: return IDS_STATUS_SENDING;
        case ApplyStatus::kSavedOnKeyboard: return IDS_STATUS_SAVED;
        case ApplyStatus::kSavedNotConnected: return IDS_STATUS_NOT_CONNECTED;
        case ApplyStatus::kNotAllHeld: return IDS_STATUS_NOT_ALL_HELD;
        case ApplyStatus::kNoAnswer: return IDS_STATUS_NO_ANSWER;
        case ApplyStatus::kNoMonitor: return IDS_STATUS_NO_MONITOR;
        case ApplyStatus::kBlockUnavailable: return IDS_STATUS_NO_BLOCK;
        case ApplyStatus::kNotAnnounced: return IDS_STATUS_NOT_ANNOUNCED;
        case ApplyStatus::kSaveFailed: return IDS_STATUS_SAVE_FAILED;
    }
    return IDS_STATUS_READY;
}

}  // namespace

ApplyFlow::ApplyFlow(SettingsModel& model, DisplaySettingsModel& display, MonitorConnection& monitor,
                     std::function<void(const std::wstring&)> say)
    : model_(model), display_(display), monitor_(monitor), say_(std::move(say)) {}

void ApplyFlow::Apply() {
    if (Sending() || !MonitorRuns() || !TakeToolTurn()) return;
    const WriteResult written = WriteEdits();
    if (written != WriteResult::kWritten) {
        toolTurn_.Release();
        if (written == WriteResult::kNothing) NothingToApply();
        return;
    }
    Announce(kApplyFlaggedChanges);
}

void ApplyFlow::RestoreKeyboard() {
    if (Sending() || !MonitorRuns() || !TakeToolTurn()) return;
    restoring_ = true;
    if (!Announce(kApplyWholeKeyboard)) restoring_ = false;
    SayStatus();
}

void ApplyFlow::NothingToApply() {
    progress_.NothingToApply();
    SayStatus();
}

bool ApplyFlow::OnAnswer(bool& heldAll) {
    if (progress_.Status() != ApplyStatus::kSending && progress_.Status() != ApplyStatus::kNoAnswer) return false;
    toolTurn_.Release();
    // An answer after the time-out: the pending items were settled then, and what was lost then
    // is an edit again now.
    const bool late = progress_.Status() == ApplyStatus::kNoAnswer;
    heldAll = (late ? !lostAtTimeout_ : SettleSent().empty()) && !settleFailed_;
    progress_.Answered(heldAll);
    restoring_ = false;
    if (settleFailed_) {
        say_(Format(IDS_STATUS_NO_BLOCK, blockProblem_.c_str()));
    } else {
        SayStatus();
    }
    return true;
}

bool ApplyFlow::OnTick(std::uint64_t nowMs) {
    if (progress_.Tick(nowMs)) {
        // No answer: what the block does not hold becomes the user's edit again, to apply anew.
        toolTurn_.Release();
        lostAtTimeout_ = !SettleSent().empty() || settleFailed_;
        restoring_ = false;
        SayStatus();
        return true;
    }
    // Pending edits a failed read could not settle are settled as soon as the block answers.
    if (!Sending() && model_.IsSending()) SettleSent();
    return false;
}

bool ApplyFlow::MonitorRuns() {
    if (monitor_.Running()) return true;
    progress_.Failed(ApplyStatus::kNoMonitor);
    SayStatus();
    return false;
}

bool ApplyFlow::TakeToolTurn() {
    if (toolTurn_.Take()) return true;
    say_(Text(IDS_STATUS_TOOL_BUSY));
    return false;
}

// The block first, then config.ini's display record: what is written is announced with one
// 1224, and a record the block could not take leaves config.ini as it was too.
ApplyFlow::WriteResult ApplyFlow::WriteEdits() {
    displayNotSaved_ = false;
    bool wrote = false;
    if (model_.HasEdits()) {
        const editing::ProfileEdit edit = model_.ApplyEdit();
        editing::RecordEditor editor;
        const SharedStateEditor::Outcome outcome = SharedStateEditor(kLockWaitMs).Edit(
            [&](StateRecord& state) { return editor.Apply(edit, state, editing::FlagMode::kReplace); });
        if (outcome == SharedStateEditor::Outcome::kWritten) {
            DebugPrintf("Brenik Option: applied %s\n", edit.what.c_str());
            model_.Sent();
            wrote = true;
        } else if (outcome != SharedStateEditor::Outcome::kRead) {
            blockProblem_ = BlockOutcomeText(outcome);
            progress_.Failed(ApplyStatus::kBlockUnavailable);
            SayStatus();
            return WriteResult::kFailed;
        }
    }
    if (display_.HasEdits()) {
        ini::CIniFile config(monitor_.ConfigPath());
        if (display_.Save(config)) {
            wrote = true;
        } else if (wrote) {
            displayNotSaved_ = true;  // the profiles' change still goes; the status says what did not
        } else {
            progress_.Failed(ApplyStatus::kSaveFailed);
            SayStatus();
            return WriteResult::kFailed;
        }
    }
    return wrote ? WriteResult::kWritten : WriteResult::kNothing;
}

bool ApplyFlow::Announce(WPARAM jobArgument) {
    const bool attached = monitor_.KeyboardAttached();
    if (!monitor_.Announce(jobArgument)) {
        // Written but not announced: what the block holds is the monitor's at its next 1224.
        SettleSent();
        toolTurn_.Release();
        progress_.Failed(ApplyStatus::kNotAnnounced);
        SayStatus();
        return false;
    }
    progress_.Started(GetTickCount64(), attached);
    SayStatus();
    return true;
}

std::vector<EditItem> ApplyFlow::SettleSent() {
    settleFailed_ = false;
    if (!model_.IsSending()) return {};
    StateRecord& record = *readBuffer_;
    std::wstring why;
    if (!ReadBlock(record, why)) {
        // Still pending: a later tick settles them.
        settleFailed_ = true;
        blockProblem_ = why;
        return {};
    }
    return model_.Answered(record);
}

void ApplyFlow::SayStatus() {
    const ApplyStatus status = progress_.Status();
    if (status == ApplyStatus::kSending && restoring_) {
        say_(Text(IDS_STATUS_RESTORING));
    } else if (status == ApplyStatus::kBlockUnavailable) {
        say_(Format(IDS_STATUS_NO_BLOCK, blockProblem_.c_str()));
    } else if (displayNotSaved_) {
        say_(Text(StatusText(status)) + L" " + Text(IDS_STATUS_DISPLAY_NOT_SAVED));
    } else {
        say_(Text(StatusText(status)));
    }
}

}  // namespace brenik::option
