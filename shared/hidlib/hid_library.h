#pragma once
// HidLibrary: kbhid.dll loaded from the program's own folder, its entry points bound by
// name, and unloaded again when the object goes (or on Unload). A program holds one for its
// whole life. A missing library, or a missing entry point, is reported by Load's result;
// the calls below then fail, so a missing library reads as no keyboard.

#include "hid_entry_points.h"
#include "scoped_module.h"

#include <windows.h>

#include <cstddef>
#include <string>

namespace brenik::hid {

constexpr const char* kLibraryFileName = "kbhid.dll";

class HidLibrary {
public:
    HidLibrary() = default;
    ~HidLibrary() { Unload(); }
    HidLibrary(const HidLibrary&) = delete;
    HidLibrary& operator=(const HidLibrary&) = delete;

    // Loads ProgramFolder() + "kbhid.dll" and binds the first `count` names (the monitor 7,
    // the updater 6). False when the library is missing (nothing stays loaded) or a name is
    // missing (the library stays loaded; only the missing entries are null).
    bool Load(std::size_t count = kAllEntryPoints);
    bool LoadFrom(const std::string& path, std::size_t count);
    void Unload();

    bool Loaded() const { return module_.Valid(); }
    const HidEntryPoints& EntryPoints() const { return table_; }

    bool OpenDevMonitor(HWND window, UINT keyMessage, UINT deviceMessage) const {
        return CallOpenDevMonitor(table_, window, keyMessage, deviceMessage);
    }
    bool CloseDevMonitor() const { return CallCloseDevMonitor(table_); }
    bool OpenFeatureDevice() const { return CallOpenFeatureDevice(table_); }
    bool CloseFeatureDevice() const { return CallCloseFeatureDevice(table_); }
    bool SetFeature(unsigned char* buffer, int length) const { return CallSetFeature(table_, buffer, length); }
    bool GetFeature(unsigned char* buffer, int length) const { return CallGetFeature(table_, buffer, length); }

private:
    win32::ScopedModule module_;
    HidEntryPoints table_;
};

}  // namespace brenik::hid
