#pragma once
// OnScreenDisplay: what the monitor tells the on-screen display program and when. It keeps
// the display settings read from config.ini, decides which notices are wanted, writes the
// texts the display reads back from config.ini, and posts the notices to the display's window
// through DisplayNotifier (found by title each time). Platform-neutral: windows through
// IDesktop, files through IIniStorage. Everything runs on the monitor's window thread.
//
// Texts go into config.ini before the notice that announces them is posted, so the display
// finds the new text when the notice arrives. A text is written whether or not the display
// runs; a notice is posted only to a display that has a window.
//
// The exchange in config.ini (the display reads it back):
//   [OSDSetting] config=<OsdSettings, 344 checksummed bytes>  written by the settings program
//   [MacroOSD]   Number=<key entry 0..43>  MacroName=<at most 31 characters>
//   [OSDData]    Message=<at most 150 characters>
// A value cannot hold a line break (config.ini is line based): a text that has one is kept up
// to the break, so the user still sees its first line and no other value can be forged.

#include "desktop.h"
#include "display_notifier.h"
#include "event_word.h"
#include "ini_storage.h"
#include "osd_settings_record.h"
#include "text_message_block.h"
#include "working_copy.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace brenik::monitor::osd {

// The two keyboard event classes the display hears about (values of the event word's class).
constexpr std::uint16_t kOsdMaxVolume = 100;

// A macro name as the display gets it: the name field holds 32 bytes, of which 31 characters
// at most are a name (the last one is its terminator).
constexpr std::size_t kMacroNameMaxChars = 31;

// The notice after the keyboard's settings were read back over the profiles.
constexpr const char* kProfilesReadBackNotice = "Profiles read from the keyboard; the previous ones are kept in History";

class OnScreenDisplay {
public:
    OnScreenDisplay(IDesktop& desktop, WorkingCopy& state, std::string configPath, ini::IIniStorage& storage);

    // Reads the display settings from config.ini (start-up, and every settings change). A
    // missing value, or one of another length or a wrong checksum, leaves the settings as they
    // were (all zero at first).
    void LoadSettings();
    // Tells the display its settings changed: 1326 with the packed display parameters. Called
    // right after LoadSettings on a settings change (not at start-up: the display reads the
    // file itself when it starts).
    void PostSettings();
    // Event classes 0x4000 (macro key 1..44) and 0xA000 (volume 0..100); value = the event's
    // sub-code. Any other class or value does nothing.
    void Notify(std::uint16_t eventClass, std::uint16_t value);
    // Writes the name of the macro on key entry k (0..43) of the current profile to
    // "MacroOSD": true if the entry holds a macro and its number and name were stored.
    bool WriteMacroOsd(int k);
    // After a profile switch to index 0..4: 1324/40 if profile notices are on.
    void NotifyProfileSwitch(int index);
    // The switch for Windows-key notices (the event dispatch asks it, then posts 1324/80
    // through DisplayNotifier).
    bool ShowsWindowsKey() const;
    // A text message from another program (WM_COPYDATA): stored in "OSDData" when the block is
    // exactly 151 bytes long, and announced (1324/50) while the keyboard is open. Reads no
    // byte beyond `size`. Returns what the window answers: always true (handled).
    bool OnCopyData(const void* data, std::size_t size, bool keyboardOpen);
    // Job 2 saved the keyboard's settings over the profiles: kProfilesReadBackNotice as a text
    // message (1324/50), whatever the switches say, since the profiles the user had are now in
    // the history only. Runs on the job thread: it touches only config.ini, under the
    // storage's lock, and posts.
    void NotifyProfilesReadBack();

    const OsdSettings& Settings() const { return settings_; }

private:
    bool StoreMessage(const std::string& text);

    peers::DisplayNotifier display_;
    WorkingCopy& state_;
    const std::string configPath_;
    ini::IIniStorage& storage_;
    OsdSettings settings_{};
};

}  // namespace brenik::monitor::osd
