// The on-screen display's settings record as the settings program (or a damaged file) leaves
// it in config.ini, and the events that the settings then gate.
//
// Input: an event class and value (16 bits each), a byte of options (bit 0: the display's
// window exists), then config.ini's text.
//
// Properties:
// - the settings change only to a whole record of exactly 344 bytes with its checksum, and
//   then to exactly its bytes; anything else leaves every field as it was;
// - the display parameters travel as one non-negative value, the low 16 bits of each;
// - a switch is on only at exactly 1, and a notice goes out only for an event whose switch is
//   on, with its value in range, to a display that has a window.

#include "config_ini_keys.h"
#include "fuzz_input.h"
#include "ini_file.h"
#include "ini_value_codec.h"
#include "memory_ini_storage.h"
#include "on_screen_display.h"
#include "peer_messages.h"
#include "program_windows.h"
#include "recording_desktop.h"

#include <cstring>

namespace {

constexpr const char* kConfig = "C:\\Brenik\\config.ini";

brenik::WorkingCopy& State() {
    static auto* state = new brenik::WorkingCopy;
    return *state;
}

brenik::OsdSettings Marked() {
    brenik::OsdSettings settings;
    std::memset(&settings, 0x5C, sizeof settings);
    return settings;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace brenik;
    test::StartInput();
    test::FuzzInput input(data, size);
    const std::uint16_t eventClass = input.Word();
    const std::uint16_t value = input.Word();
    const bool window = input.Flag();
    const std::string text(input.Rest());

    test::RecordingDesktop desktop;
    if (window) desktop.Open(kTitleOsd);
    ini::test::MemoryIniStorage storage;
    storage.files[kConfig] = text;
    monitor::osd::OnScreenDisplay osd(desktop, State(), kConfig, storage);

    // Whatever the file holds, the record read on its own decides what the settings become.
    OsdSettings expected{};
    OsdSettings decoded = Marked();
    const bool whole = ini::CIniFile(kConfig, storage).ReadStruct(kOsdSettingsSection, kOsdSettingsKey, &decoded, sizeof decoded);
    if (whole) expected = decoded;
    osd.LoadSettings();
    FUZZ_CHECK(std::memcmp(&osd.Settings(), &expected, sizeof expected) == 0);
    FUZZ_CHECK(storage.writes == 0);

    osd.PostSettings();
    const std::uint32_t packed = (static_cast<std::uint32_t>(expected.DisplayParam1) & 0xFFFF) << 16 |
                                 (static_cast<std::uint32_t>(expected.DisplayParam2) & 0xFFFF);
    if (window) {
        FUZZ_CHECK(desktop.posted.size() == 1 && desktop.posted[0].message == kMsgOsdSettings);
        FUZZ_CHECK(desktop.posted[0].lParam >= 0 && static_cast<std::uint32_t>(desktop.posted[0].lParam) == packed);
    } else {
        FUZZ_CHECK(desktop.posted.empty());
    }
    FUZZ_CHECK(osd.ShowsWindowsKey() == (expected.LockKeyNotice == 1));

    desktop.posted.clear();
    osd.Notify(eventClass, value);
    const bool volume = eventClass == monitor::kClassVolume && value <= monitor::osd::kOsdMaxVolume && expected.VolumeNotice == 1;
    if (volume && window) {
        FUZZ_CHECK(desktop.posted.size() == 1 && desktop.posted[0].message == kMsgOsdShow &&
                   desktop.posted[0].wParam == kOsdKindVolume && desktop.posted[0].lParam == value);
    } else if (eventClass != monitor::kClassMacroPlayed) {
        FUZZ_CHECK(desktop.posted.empty());
    }
    if (eventClass == monitor::kClassMacroPlayed && expected.MacroNotice != 1) FUZZ_CHECK(desktop.posted.empty());
    return 0;
}
