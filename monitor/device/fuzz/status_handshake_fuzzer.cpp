// The status handshake fed random statuses: every poll's answer (a status byte, a failed
// read, or the job's abort arriving during it) comes from the input, for the handshake alone
// and inside the commands that run it.
//
// Input: commands, each an operation byte; every status poll then takes one byte (bit 0 the
// read fails, bit 1 the abort flag is raised with it) and one status byte, every send one
// byte (bit 0 refused), and a data read one byte (bit 0 fails).
//
// Properties:
// - at most 10 status polls, and the polling goes on only while the keyboard says busy;
// - "ready" only when the last poll was read and said done;
// - the waits add up to no more than the first delay and the fixed schedule after it;
// - once the abort flag is up, the status is not polled again;
// - a refused send is followed by no poll.

#include "device_fuzz_doubles.h"
#include "device_protocol.h"
#include "fuzz_input.h"
#include "report_channel.h"

#include <atomic>
#include <numeric>
#include <vector>

namespace brenik::monitor::device::fuzz {
namespace {

using test::FuzzInput;

struct Poll {
    bool read;
    std::uint8_t status;
};

class StatusTransport final : public hid::IFeatureReports {
public:
    StatusTransport(FuzzInput& input, std::atomic<int>& abort) : input_(input), abort_(abort) {}

    bool SetFeature(std::uint8_t*, std::size_t) override {
        ++sends;
        return (input_.Byte() & 1) == 0;
    }
    bool GetFeature(std::uint8_t* report, std::size_t length) override {
        if (report[0] != kReportSelect) {
            ++dataReads;
            return (input_.Byte() & 1) == 0;
        }
        FUZZ_CHECK(length == kSelectLength);
        FUZZ_CHECK(!abortSeen_);  // no status poll after the abort
        const std::uint8_t how = input_.Byte();
        const std::uint8_t status = input_.Byte();
        if (how & 2) {
            abort_.store(1);
            abortSeen_ = true;
        }
        const bool read = (how & 1) == 0;
        if (read) report[kStatusByte] = status;
        polls.push_back(Poll{read, status});
        return read;
    }

    void Clear() {
        polls.clear();
        sends = 0;
        dataReads = 0;
        abortSeen_ = false;
        abort_.store(0);
    }

    std::vector<Poll> polls;
    int sends = 0;
    int dataReads = 0;

private:
    FuzzInput& input_;
    std::atomic<int>& abort_;
    bool abortSeen_ = false;
};

// The status the handshake last learnt after each poll: a failed read teaches nothing.
void CheckPolls(const std::vector<Poll>& polls, bool ready, bool aborted) {
    FUZZ_CHECK(polls.size() <= kPollSleepsMs.size());
    std::uint8_t known = 0;
    for (std::size_t i = 0; i < polls.size(); ++i) {
        if (polls[i].read) known = polls[i].status;
        const bool last = i + 1 == polls.size();
        if (!last) FUZZ_CHECK(known == kStatusBusy);
    }
    if (ready) {
        FUZZ_CHECK(!polls.empty() && polls.back().read && polls.back().status == kStatusDone);
    }
    // Polling stops before the schedule ends only for an answer that is not busy, or an abort.
    if (!polls.empty() && polls.size() < kPollSleepsMs.size() && !aborted) FUZZ_CHECK(known != kStatusBusy);
}

constexpr unsigned kFirstDelays[] = {0, kShortFirstDelayMs, kSelectBlockFirstDelayMs, kBlockFirstDelayMs, kSelectEntryFirstDelayMs};
const unsigned kScheduleAfterFirstMs = std::accumulate(kPollSleepsMs.begin() + 1, kPollSleepsMs.end(), 0u);

}  // namespace
}  // namespace brenik::monitor::device::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace brenik::monitor::device;
    using namespace brenik::monitor::device::fuzz;
    brenik::test::StartInput();
    brenik::test::FuzzInput input(data, size);
    CountingClock clock;
    std::atomic<int> abort{0};
    StatusTransport transport(input, abort);
    ReportChannel channel(transport, clock, abort);

    for (int step = 0; step < 8 && !input.Empty(); ++step) {
        const std::uint8_t op = input.Byte();
        const unsigned firstDelay = kFirstDelays[(op >> 2) % std::size(kFirstDelays)];
        transport.Clear();
        clock.sleptMs = 0;
        switch (op % 3) {
        case 0: {
            const bool ready = channel.WaitForReady(firstDelay);
            CheckPolls(transport.polls, ready, abort.load() != 0);
            FUZZ_CHECK(clock.sleptMs <= firstDelay + kScheduleAfterFirstMs);
            break;
        }
        case 1: {
            std::uint8_t report[kHostStateLength] = {kReportHostState, kHostStateLength, kHostSynchronised};
            const bool done = channel.WriteCommand(report, sizeof report, kEntrySettleMs, firstDelay);
            FUZZ_CHECK(transport.sends == 1);
            CheckPolls(transport.polls, done, abort.load() != 0);
            FUZZ_CHECK(clock.sleptMs <= kEntrySettleMs + firstDelay + kScheduleAfterFirstMs);
            break;
        }
        default: {
            std::uint8_t reply[kLockKeysLength] = {};
            const bool read = channel.SelectAndRead(1, kSelectLockKeys, kReportLockKeys, reply, sizeof reply, firstDelay);
            FUZZ_CHECK(transport.sends == 1);
            CheckPolls(transport.polls, false, abort.load() != 0);
            // The data read follows the handshake whatever it said, unless the send failed.
            if (transport.dataReads == 0) FUZZ_CHECK(!read);
            FUZZ_CHECK(transport.dataReads <= 1);
            FUZZ_CHECK(clock.sleptMs <= kSelectPauseMs + firstDelay + kScheduleAfterFirstMs);
            break;
        }
        }
    }
    return 0;
}
