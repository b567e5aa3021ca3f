// The text message another program sends the monitor (WM_COPYDATA): a block of any length and
// any bytes, handed over as the window receives it.
//
// Input: a byte of options (bit 0: the keyboard is open, bit 1: the display's window exists,
// bit 2: the block has no bytes), then the block, exactly as long as the rest of the input.
//
// Properties:
// - the window always answers "handled";
// - a block that is not exactly 151 bytes, or has no bytes, changes nothing, posts nothing and
//   says why on the debugger output;
// - a 151-byte block stores the text from byte 1 up to its first zero (at most 150 characters)
//   and no further than a line break, as one new line of config.ini; nothing else of the file
//   moves, so no other setting can be forged;
// - the display is told exactly once, and only while the keyboard is open and it has a window.

#include "fuzz_input.h"
#include "memory_ini_storage.h"
#include "on_screen_display.h"
#include "peer_messages.h"
#include "program_windows.h"
#include "recording_desktop.h"

#include <cstring>
#include <vector>

namespace {

constexpr const char* kConfig = "C:\\Brenik\\config.ini";
constexpr const char* kConfigText = "[Setting]\r\nCurrentProfile=2\r\n[OSDSetting]\r\nconfig=00\r\n";

brenik::WorkingCopy& State() {
    static auto* state = new brenik::WorkingCopy;
    return *state;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace brenik;
    test::StartInput();
    test::FuzzInput input(data, size);
    const std::uint8_t options = input.Byte();
    const bool keyboardOpen = options & 1;
    const std::string_view rest = input.Rest();
    const std::vector<char> block(rest.begin(), rest.end());  // exactly the block's length

    test::RecordingDesktop desktop;
    if (options & 2) desktop.Open(kTitleOsd);
    ini::test::MemoryIniStorage storage;
    storage.files[kConfig] = kConfigText;
    monitor::osd::OnScreenDisplay osd(desktop, State(), kConfig, storage);

    const void* bytes = (options & 4) || block.empty() ? nullptr : block.data();
    FUZZ_CHECK(osd.OnCopyData(bytes, block.size(), keyboardOpen));

    if (block.size() != kTextMessageBytes || bytes == nullptr) {
        FUZZ_CHECK(storage.files[kConfig] == kConfigText && storage.writes == 0);
        FUZZ_CHECK(desktop.posted.empty());
        FUZZ_CHECK(test::DebugLinesContain("refused a text message"));
        return 0;
    }
    std::string text(block.data() + kTextMessageStart, strnlen(block.data() + kTextMessageStart, kTextMessageMaxChars));
    text = text.substr(0, text.find_first_of("\r\n"));
    FUZZ_CHECK(storage.files[kConfig] == std::string(kConfigText) + "[OSDData]\r\nMessage=" + text + "\r\n");
    const bool told = keyboardOpen && (options & 2);
    FUZZ_CHECK(desktop.posted.size() == (told ? 1u : 0u));
    if (told) {
        FUZZ_CHECK(desktop.posted[0].message == kMsgOsdShow && desktop.posted[0].wParam == kOsdKindMessage &&
                   desktop.posted[0].lParam == 0);
    }
    return 0;
}
