#pragma once
// One apply through the monitor, from the user's click to the monitor's answer:
// 1. the monitor must run, and the settings tool must not be making a change (its mutex is
//    taken for our turn, settings_tool_turn_win32.h);
// 2. the block is re-read, the edits put in and exactly the change flags of what differs set,
//    under one hold of its lock (the editing core's RecordEditor), then config.ini's display
//    record is written;
// 3. 1224 goes to the monitor (wParam 0, or 1 to restore the whole keyboard), and OK, Apply
//    and Restore wait;
// 4. at 1256, or when no answer came in time, the block is read again: what it does not hold
//    becomes the user's edit again (SettingsModel::Answered), and the turn is given back.
// Each step says on the status line where it stands; the window greys its buttons by
// ButtonsEnabled and shows the monitor bar by MonitorMissing.

#include "apply_progress.h"
#include "display_settings_model.h"
#include "monitor_connection_win32.h"
#include "settings_model.h"
#include "settings_tool_turn_win32.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace brenik::option {

class ApplyFlow {
public:
    ApplyFlow(SettingsModel& model, DisplaySettingsModel& display, MonitorConnection& monitor,
              std::function<void(const std::wstring&)> say);

    // The user's edits (the caller has checked that none is refused and that there are some).
    void Apply();
    void RestoreKeyboard();  // after the user confirmed
    // 1256: true when it answered our apply; heldAll then says whether the block kept it all.
    bool OnAnswer(bool& heldAll);
    // The timer: true when the answer's time ran out now.
    bool OnTick(std::uint64_t nowMs);
    void NothingToApply();

    bool Sending() const { return progress_.Status() == ApplyStatus::kSending; }
    bool ButtonsEnabled() const { return progress_.ButtonsEnabled(); }
    bool MonitorMissing() const { return progress_.Status() == ApplyStatus::kNoMonitor; }

private:
    enum class WriteResult { kWritten, kNothing, kFailed };

    bool MonitorRuns();
    bool TakeToolTurn();
    WriteResult WriteEdits();
    bool Announce(WPARAM jobArgument);
    std::vector<EditItem> SettleSent();  // the pending items the block lost, edits again
    void SayStatus();

    SettingsModel& model_;
    DisplaySettingsModel& display_;
    MonitorConnection& monitor_;
    std::function<void(const std::wstring&)> say_;
    ApplyProgress progress_;
    SettingsToolTurn toolTurn_;
    std::unique_ptr<StateRecord> readBuffer_ = std::make_unique<StateRecord>();
    std::wstring blockProblem_;
    bool restoring_ = false;
    bool settleFailed_ = false;     // the block could not be read to settle the pending edits
    bool lostAtTimeout_ = false;    // items the block had lost when the answer did not come
    bool displayNotSaved_ = false;  // config.ini refused the display record of the last apply
};

}  // namespace brenik::option
