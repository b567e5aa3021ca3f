#pragma once
// What the settings tool needs from the platform, behind small interfaces so that the whole
// run of a command is tested natively: the shared block, the monitor's window and answer,
// and the profile files.

#include "ini_storage.h"
#include "profile_history.h"
#include "state_record.h"

#include <functional>
#include <string>

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

// "Device" of section "Setting" in config.ini, as the monitor last wrote it.
enum class KeyboardPresence {
    kPresent,      // 1
    kAbsent,       // any other value (the monitor writes 0)
    kNoValue,      // config.ini has no "Device"
    kNoConfigFile, // there is no config.ini: the tool is not in the monitor's folder
};

class IMonitorLink {
public:
    virtual ~IMonitorLink() = default;
    virtual bool MonitorRunning() = 0;
    virtual KeyboardPresence Keyboard() = 0;
    // The config.ini read, for messages.
    virtual std::string ConfigIniPath() const = 0;
    // One change at a time across all runs of the tool: waits up to timeoutMs for the turn
    // (false: another run kept it) and keeps it until EndChangeTurn.
    virtual bool TakeChangeTurn(int timeoutMs) = 0;
    virtual void EndChangeTurn() = 0;
    // A window with the settings program's title exists that is not one of ours (the real
    // settings program runs).
    virtual bool SettingsWindowExists() = 0;
    // Our own hidden window with that title, to receive the answer; made before the
    // notification so the answer cannot come too early.
    virtual bool OpenAnswerWindow() = 0;
    virtual void CloseAnswerWindow() = 0;
    // Settings-changed (wParam 0) to the monitor; an earlier answer no longer counts.
    virtual bool NotifySettingsChanged() = 0;
    // Handles messages until the answer arrives (true) or the time is up (false).
    virtual bool WaitForAnswer(int timeoutMs) = 0;
};

class IProfileFiles {
public:
    virtual ~IProfileFiles() = default;
    // The current index and the five profiles from config.ini and config\ of the monitor's
    // folder, as the monitor would load them at start (a missing file: its defaults).
    // Returns how many of the five profile files exist.
    virtual int LoadAll(StateRecord& state) = 0;
    // Where the profile files are looked for, for messages.
    virtual std::string ProfileFolder() const = 0;
    // The storage for the files export and import name.
    virtual ini::IIniStorage& Storage() = 0;
    // The profiles' history in the monitor's folder, and the time a new copy is dated with.
    virtual history::ProfileHistory& History() = 0;
    virtual history::HistoryTime Now() = 0;
};

}  // namespace brenik::settings
