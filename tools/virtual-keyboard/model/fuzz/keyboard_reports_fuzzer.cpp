// The virtual keyboard's report handling: any sequence of feature reports of any id, length
// and content, written and read as kbhid hands them over, in normal and update mode.
//
// Input: steps, each an operation byte (bit 0: write, else read), a report id, a 16-bit
// length (up to 2,048), and for a write the report's bytes after its id (zeros past the end
// of the input).
//
// Properties:
// - every buffer is exactly as long as the call says, so no read or write past it goes unseen;
// - a refused read leaves the caller's buffer as it was; an answered one keeps its id;
// - an answered macro reply carries its correct checksum;
// - whatever arrives, the keyboard's state stays in its ranges (profile 0..4, volume 0..100 at
//   a level 0..7, countdown 0..8) and every call leaves a line in the trace.

#include "fuzz_input.h"
#include "keyboard_reports.h"
#include "virtual_keyboard.h"

#include <algorithm>
#include <vector>

namespace {

using brenik::test::FuzzInput;
using brenik::vkb::VirtualKeyboard;

constexpr std::size_t kMaxLength = 2048;

bool MacroChecksumFits(const std::vector<std::uint8_t>& reply) {
    unsigned sum = 0;
    for (std::size_t i = 0; i + 2 < reply.size(); ++i) sum += reply[i];
    return reply[reply.size() - 2] == (sum & 0xFF) && reply[reply.size() - 1] == ((sum >> 8) & 0xFF);
}

void CheckState(const VirtualKeyboard& keyboard) {
    FUZZ_CHECK(keyboard.CurrentProfile() >= 0 && keyboard.CurrentProfile() < 5);
    FUZZ_CHECK(keyboard.Volume() >= 0 && keyboard.Volume() <= 100);
    FUZZ_CHECK(keyboard.VolumeLevel() >= 0 && keyboard.VolumeLevel() <= 7);
    FUZZ_CHECK(keyboard.CountdownStepNow() >= 0 && keyboard.CountdownStepNow() <= 8);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    brenik::test::StartInput();
    FuzzInput input(data, size);
    VirtualKeyboard keyboard([] { return std::uint64_t{0}; });

    for (int step = 0; step < 32 && !input.Empty(); ++step) {
        const bool write = input.Flag();
        const std::uint8_t id = input.Byte();
        const std::size_t length = input.Word() % (kMaxLength + 1);
        const std::size_t entriesBefore = keyboard.Trace().Entries().size();
        std::vector<std::uint8_t> report(length, 0);
        if (length > 0) report[0] = id;
        if (write) {
            const std::string_view bytes = input.Bytes(length > 0 ? length - 1 : 0);
            std::copy(bytes.begin(), bytes.end(), report.begin() + (length > 0 ? 1 : 0));
            const std::vector<std::uint8_t> sent = report;
            keyboard.SetFeature(length > 0 ? report.data() : nullptr, length);
            FUZZ_CHECK(report == sent);  // the keyboard never writes into a report it is sent
        } else {
            std::fill(report.begin() + (length > 0 ? 1 : 0), report.end(), std::uint8_t{0xA5});
            const std::vector<std::uint8_t> before = report;
            const bool answered = keyboard.GetFeature(length > 0 ? report.data() : nullptr, length);
            if (!answered) {
                FUZZ_CHECK(report == before);
            } else {
                FUZZ_CHECK(report[0] == id);
                if (id == brenik::vkb::report::kMacro) FUZZ_CHECK(MacroChecksumFits(report));
            }
        }
        FUZZ_CHECK(keyboard.Trace().Entries().size() > entriesBefore);
        CheckState(keyboard);
    }
    return 0;
}
