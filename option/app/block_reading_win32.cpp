#include "block_reading_win32.h"

#include "option_resources.h"
#include "option_strings_win32.h"

namespace brenik::option {

bool ReadBlock(StateRecord& record, std::wstring& why) {
    const SharedStateEditor::Outcome outcome = SharedStateEditor(kLockWaitMs).Read(record);
    if (outcome == SharedStateEditor::Outcome::kRead) return true;
    why = BlockOutcomeText(outcome);
    return false;
}

std::wstring BlockOutcomeText(SharedStateEditor::Outcome outcome) {
    switch (outcome) {
        case SharedStateEditor::Outcome::kNoBlock: return Text(IDS_BLOCK_MISSING);
        case SharedStateEditor::Outcome::kLockBusy: return Text(IDS_BLOCK_LOCK_BUSY);
        case SharedStateEditor::Outcome::kLockFailed: return Text(IDS_BLOCK_LOCK_FAILED);
        default: return L"";
    }
}

}  // namespace brenik::option
