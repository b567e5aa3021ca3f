// The updater's two readings of the keyboard: the status handshake after each update command,
// fed random statuses, failed reads and stop requests, and the device information it takes
// the DFU version from, with replies of any length up to the buffer it offers.
//
// Input: a byte of options (bits 0-1: the command's status so far), then for each read a
// header byte (bit 0: the read fails, bit 1: a stop is requested with it, bits 2-7: extra
// bytes the keyboard writes past the report) and the status; the last two bytes are the
// device information's DFU version and its read's header.
//
// Properties:
// - at most 20 status reads, and reading goes on only while the keyboard says busy;
// - "ok" only when the last read succeeded and said 1; the status is the last one read, or
//   the command's own when none was;
// - after a stop request no further report is read, and the handshake fails unless the read
//   that came with it said 1;
// - the waits add up to no more than the schedule's;
// - the version caption is "N/A" outside 100..500, else the number with a point after its first
//   digit.

#include "device_status.h"
#include "dfu_version.h"
#include "fuzz_input.h"
#include "keyboard_device_constants.h"

#include <cstring>
#include <string>

namespace {

using namespace brenik;
using namespace brenik::updater;
using namespace brenik::device;

class CountingClock final : public ISleepClock {
public:
    void SleepMs(unsigned milliseconds) override { slept += milliseconds; }
    std::uint64_t slept = 0;
};

struct Read {
    bool ok;
    std::uint8_t status;
};

class ScriptedKeyboard final : public hid::IFeatureReports {
public:
    explicit ScriptedKeyboard(test::FuzzInput& input) : input_(input) {}
    bool SetFeature(std::uint8_t*, std::size_t) override { return true; }
    bool GetFeature(std::uint8_t* buffer, std::size_t length) override {
        FUZZ_CHECK(!stopped);  // nothing is read after a stop request
        const std::uint8_t header = input_.Byte();
        const std::uint8_t status = input_.Byte();
        if (header & 2) stopped = true;
        // The keyboard may write more than it is asked for (the caller's buffer allows 2,000
        // bytes for the status, 100 for the device information).
        const std::size_t extra = header >> 2;
        if (header & 1) {
            reads.push_back({false, status});
            return false;
        }
        std::memset(buffer + length, 0x77, extra);
        buffer[1] = status;
        buffer[3] = status;
        reads.push_back({true, status});
        return true;
    }
    std::vector<Read> reads;
    bool stopped = false;

private:
    test::FuzzInput& input_;
};

std::uint64_t ScheduleMs() {
    std::uint64_t total = 0;
    for (int attempt = 0; attempt < kMaxStatusReads; ++attempt) total += StatusWaitMs(attempt);
    return total;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    test::StartInput();
    test::FuzzInput input(data, size);
    const std::uint8_t initial = input.Byte() & 3;
    CountingClock clock;
    ScriptedKeyboard keyboard(input);
    const UpdateLink link{keyboard, clock, [&keyboard] { return keyboard.stopped; }};

    const DeviceStatus result = WaitDeviceStatus(link, initial);
    const auto& reads = keyboard.reads;
    FUZZ_CHECK(reads.size() <= static_cast<std::size_t>(kMaxStatusReads));
    std::uint8_t known = initial;
    for (std::size_t i = 0; i < reads.size(); ++i) {
        if (reads[i].ok) known = reads[i].status;
        if (i + 1 < reads.size()) FUZZ_CHECK(known == kDfuStatusBusy);
    }
    FUZZ_CHECK(result.status == known);
    if (result.ok) FUZZ_CHECK(!reads.empty() && reads.back().ok && reads.back().status == kDfuStatusOk);
    if (keyboard.stopped) FUZZ_CHECK(!result.ok || (reads.back().ok && reads.back().status == kDfuStatusOk));
    FUZZ_CHECK(clock.slept <= ScheduleMs());

    keyboard.stopped = false;
    keyboard.reads.clear();
    const std::uint8_t version = ReadDfuVersion(keyboard);
    FUZZ_CHECK(keyboard.reads.size() == 1);
    FUZZ_CHECK(version == (keyboard.reads[0].ok ? keyboard.reads[0].status : 0));
    for (const unsigned shown : {static_cast<unsigned>(version), static_cast<unsigned>(version) + 100u * (initial + 1)}) {
        const std::string caption = VersionCaption(shown);
        if (shown < 100 || shown > 500) {
            FUZZ_CHECK(caption == "N/A");
        } else {
            const std::string digits = std::to_string(shown);
            FUZZ_CHECK(caption == digits.substr(0, 1) + "." + digits.substr(1));
        }
    }
    return 0;
}
