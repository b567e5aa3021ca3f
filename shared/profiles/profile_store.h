#pragma once
// The five profiles on disk: "config\Default0.cmp" .. "config\Default4.cmp" below the program
// folder, one section "Setting" each, plus "CurrentProfile" in config.ini. Loaded once at
// start-up, saved whole after every change that the monitor itself makes and after every change
// a settings program announces (1224).

#include "ini_storage.h"
#include "keyboard_repeat.h"
#include "state_record.h"

#include <array>
#include <cstdint>
#include <mutex>
#include <string>

namespace brenik {

// The one section of every profile file.
constexpr const char* kProfileSection = "Setting";
// The current profile's index in config.ini (section kConfigSettingSection of
// config_ini_keys.h): the profile store's own key there.
constexpr const char* kCurrentProfileKey = "CurrentProfile";

// HID usage codes of the 97 standard keys in standard-key order: the row from the grave
// accent to Backspace, Tab to backslash, Caps Lock to Enter, the left Shift row, the bottom
// row, the editing and arrow block, the numeric keypad, then Esc, Print Screen, Scroll Lock
// and Pause.
constexpr std::array<std::uint8_t, kStandardKeyCount> kDefaultStandardKeys = {
    0x35, 0x1E, 0x1F, 0x20, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x2D, 0x2E, 0x89, 0x2A, 0x2B, 0x14,
    0x1A, 0x08, 0x15, 0x17, 0x1C, 0x18, 0x0C, 0x12, 0x13, 0x2F, 0x30, 0x31, 0x39, 0x04, 0x16, 0x07, 0x09,
    0x0A, 0x0B, 0x0D, 0x0E, 0x0F, 0x33, 0x34, 0x32, 0x28, 0xE1, 0x64, 0x1D, 0x1B, 0x06, 0x19, 0x05, 0x11,
    0x10, 0x36, 0x37, 0x38, 0x87, 0xE5, 0xE0, 0xBF, 0xE2, 0x2C, 0xE6, 0xE7, 0x65, 0xE4, 0x49, 0x4C, 0x50,
    0x4A, 0x4D, 0x52, 0x51, 0x4B, 0x4E, 0x4F, 0x53, 0x5F, 0x5C, 0x59, 0x54, 0x60, 0x5D, 0x5A, 0x62, 0x55,
    0x61, 0x5E, 0x5B, 0x63, 0x56, 0x57, 0x85, 0x58, 0x29, 0x46, 0x47, 0x48};

// Empties the working copy before loading: index -1, profiles and change flags zero. The
// volume level (434248) and the 20 bytes other programs use (434336..434355) stay.
void ClearState(StateRecord& state);

// Every field its default for profile `index` (0..4; named "Default<index + 1>").
// LtOption is left as it is.
void SetDefaultProfile(ProfileRecord& record, int index);

// Reads one profile file. Missing integer keys give -1, missing strings empty, missing or
// damaged structs leave their bytes; strings longer than their field are cut. LogoOption is
// never read. Returns false when the file exists but could not be read.
bool LoadProfileFile(ProfileRecord& record, const std::string& path, ini::IIniStorage& storage);

// Writes one profile file in one read and one write; keys not written here (such as
// "ExtendedMode") stay in the file. A string not terminated inside its field is written cut
// to the field. Returns whether the file was written; callers may ignore it.
bool SaveProfileFile(const ProfileRecord& record, const std::string& path, ini::IIniStorage& storage);

// Passes the current profile's KeyboardDelay, then KeyboardSpeed, to the system. With no
// current profile (index outside 0..4) nothing is passed and false comes back.
bool ApplyKeyboardRepeat(const StateRecord& state, IKeyboardRepeatSink& sink);

// "config\Default<n>.cmp" below the program folder (config.ini: ConfigIniPathIn).
std::string ProfileFilePath(const std::string& programFolder, int n);

// Loads and saves all five profiles and the current index.
//
// A profile file that exists but cannot be read (locked, no access, damaged beyond use) gets
// the defaults in memory, so the monitor works, but is then never written by this store:
// saving those defaults would destroy the user's real profile the moment the file became
// readable again. Changes to that profile last until the monitor ends. config.ini is written
// key by key and shared with other programs, so it needs no such care: only "CurrentProfile"
// is ever written to it, and an unreadable config.ini refuses that write anyway.
//
// LoadProfiles runs once at start-up; SaveProfiles may then run on both threads. Both are
// serialised here, so the five files are always one save's set.
class ProfileStore {
public:
    ProfileStore(std::string programFolder, ini::IIniStorage& storage, IKeyboardRepeatSink& repeat);

    ProfileStore(const ProfileStore&) = delete;
    ProfileStore& operator=(const ProfileStore&) = delete;

    // "CurrentProfile" of config.ini (default -1, no range check) and the five records; a
    // missing file gives its profile the defaults. Always succeeds.
    bool LoadProfiles(StateRecord& state);

    // ApplyKeyboardRepeat (skipped when there is no current profile), "CurrentProfile" as the
    // index stands (-1 stays -1), then the five files. Write failures are reported by the
    // INI layer's debugger lines and otherwise ignored; always succeeds.
    bool SaveProfiles(const StateRecord& state);

    // True when profile n's file could not be read at load and is therefore left alone.
    bool IsProtected(int n) const;

    const std::string& ProgramFolderPath() const { return programFolder_; }

private:
    std::string programFolder_;
    ini::IIniStorage& storage_;
    IKeyboardRepeatSink& repeat_;
    std::array<bool, kProfileCount> unreadable_{};
    mutable std::mutex saving_;  // guards unreadable_ and the files
};

}  // namespace brenik
