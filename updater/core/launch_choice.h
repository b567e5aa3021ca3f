#pragma once
// What the updater shows first, from the first character of its command-line argument, and
// where its firmware image and the monitor are, from its own folder.

#include <string>

namespace brenik::updater {

enum class FirstDialog {
    kConfirm,  // empty, "1" or "2": ask the user first
    kDriver,   // "0": tell the user to update the driver; no update
    kUpdate,   // anything else: update without asking
};

FirstDialog ChooseFirstDialog(const std::string& argument);

// The "Name" value of config.ini: without a backslash a file in the program folder (which
// ends in a backslash), else used as it is. "" for an empty name.
std::string ResolveImagePath(const std::string& programFolder, const std::string& name);

// The text after the last backslash, as the main dialog shows it.
std::string ImageFileName(const std::string& path);

// "<parent of the program folder>\Monitor.EXE"; "" when the folder has no parent.
std::string MonitorPathFor(const std::string& programFolder);

}  // namespace brenik::updater
