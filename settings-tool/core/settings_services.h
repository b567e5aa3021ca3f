#pragma once
// What the settings tool needs from the platform, behind small interfaces so that the whole
// run of a command is tested natively: the shared block, the monitor's window and answer,
// and the profile files.

#include "ini_storage.h"
#include "state_record.h"

#include <functional>

namespace brenik::settings {

enum class BlockEdit {
    kWritten,      // the edit was copied into the block
    kNotWritten,   // the edit chose not to write; the block is as it was
    kUnavailable,  // no block, or the lock could not be had: nothing read, nothing written
};

class IStateBlock {
public:
    virtual ~IStateBlock() = default;
    // The whole record under the lock; false when there is no block or no lock in time.
    virtual bool Read(StateRecord& state) = 0;
    // Under one hold of the lock: the whole record is read into a copy, edit changes it and
    // says whether to write it, and the whole copy is written back before the lock goes.
    virtual BlockEdit Edit(const std::function<bool(StateRecord&)>& edit) = 0;
};

class IMonitorLink {
public:
    virtual ~IMonitorLink() = default;
    virtual bool MonitorRunning() = 0;
    // "Device" of section "Setting" in config.ini is 1.
    virtual bool KeyboardPresent() = 0;
    // A window with the settings program's title exists (the real settings program runs).
    virtual bool SettingsWindowExists() = 0;
    // Our own hidden window with that title, to receive the answer; made before the
    // notification so the answer cannot come too early.
    virtual bool OpenAnswerWindow() = 0;
    virtual void CloseAnswerWindow() = 0;
    // Settings-changed (wParam 0) to the monitor.
    virtual bool NotifySettingsChanged() = 0;
    // Handles messages until the answer arrives (true) or the time is up (false).
    virtual bool WaitForAnswer(int timeoutMs) = 0;
};

class IProfileFiles {
public:
    virtual ~IProfileFiles() = default;
    // The current index and the five profiles from config.ini and config\ of the monitor's
    // folder, as the monitor would load them at start.
    virtual void LoadAll(StateRecord& state) = 0;
    // The storage for the files export and import name.
    virtual ini::IIniStorage& Storage() = 0;
};

}  // namespace brenik::settings
