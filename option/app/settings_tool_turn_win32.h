#pragma once
// Our apply and a run of the command-line settings tool take turns, by the mutex the tool holds
// for the whole of one change (write, 1224, the monitor's 1256). Without it our write would
// clear the change flags of a tool run the monitor has not taken yet, and the tool's 1256 could
// pass for the answer to ours. Held from our write until the answer (or its time-out).

#include "program_windows.h"
#include "scoped_handle.h"

#include <windows.h>

namespace brenik::option {

class SettingsToolTurn {
public:
    // A tool run takes a few seconds at most; the window does not wait longer than this for it.
    static constexpr DWORD kWaitMs = 300;

    SettingsToolTurn() = default;
    ~SettingsToolTurn() { Release(); }
    SettingsToolTurn(const SettingsToolTurn&) = delete;
    SettingsToolTurn& operator=(const SettingsToolTurn&) = delete;

    // False while a tool run holds it (or the mutex cannot be made).
    bool Take() {
        if (held_) return true;
        if (!mutex_.Valid()) mutex_.Reset(CreateMutexA(nullptr, FALSE, kSettingsToolMutex));
        if (!mutex_.Valid()) return false;
        const DWORD waited = WaitForSingleObject(mutex_.Get(), kWaitMs);
        // An abandoned turn (a tool run that died) is ours now, as the tool itself takes it.
        held_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
        return held_;
    }

    void Release() {
        if (held_) ReleaseMutex(mutex_.Get());
        held_ = false;
    }

private:
    win32::ScopedHandle mutex_;
    bool held_ = false;
};

}  // namespace brenik::option
