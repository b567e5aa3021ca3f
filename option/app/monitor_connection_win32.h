#pragma once
// The settings program's side of the monitor: whether it runs (its window, found by title
// each time), whether the keyboard is attached ("Device" in config.ini, which the monitor
// writes), telling it of a change (1224 with job 1's argument) and starting it.

#include <windows.h>

#include <string>

namespace brenik::option {

// Job 1's argument: the flagged changes, or every setting of the whole keyboard.
constexpr WPARAM kApplyFlaggedChanges = 0;
constexpr WPARAM kApplyWholeKeyboard = 1;

class MonitorConnection {
public:
    explicit MonitorConnection(std::string programFolder);

    bool Running() const;
    bool KeyboardAttached() const;
    bool Announce(WPARAM jobArgument) const;
    bool Start() const;

    const std::string& ProgramFolder() const { return folder_; }
    std::string ConfigPath() const;

private:
    std::string folder_;
};

}  // namespace brenik::option
