#pragma once
// Reading the monitor's shared block for the window, with a bounded wait for its lock, and the
// words for why a read or write of it failed.

#include "shared_state_editor_win32.h"
#include "state_record.h"

#include <string>

namespace brenik::option {

// The monitor holds the block's lock for one copy only; a window does not hang behind it longer.
constexpr unsigned long kLockWaitMs = 2000;

bool ReadBlock(StateRecord& record, std::wstring& why);
std::wstring BlockOutcomeText(SharedStateEditor::Outcome outcome);

}  // namespace brenik::option
