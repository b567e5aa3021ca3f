// The status handshake on its own, against a keyboard that answers from a script: which
// answers end it, what a failed read leaves, and how long each way takes.

#include "device_status.h"
#include "keyboard_device_constants.h"
#include "keyboard_port.h"

#include <gtest/gtest.h>

#include <vector>

namespace brenik::updater::test {
namespace {

using namespace device;

constexpr int kRefused = -1;  // the read fails

class ScriptedPort : public hid::IFeatureReports {
public:
    explicit ScriptedPort(std::vector<int> answers) : answers_(std::move(answers)) {}
    bool SetFeature(std::uint8_t*, std::size_t) override { return true; }
    bool GetFeature(std::uint8_t* buffer, std::size_t length) override {
        lengths.push_back(length);
        const int answer = reads < answers_.size() ? answers_[reads] : answers_.back();
        ++reads;
        if (answer == kRefused || buffer[0] != kUpdateStatusReportId) return false;
        buffer[1] = static_cast<std::uint8_t>(answer);
        return true;
    }
    std::size_t reads = 0;
    std::vector<std::size_t> lengths;

private:
    std::vector<int> answers_;
};

TEST(DeviceStatus, AnswersEndTheWaitAsTheKeyboardMeansThem) {
    struct Case {
        std::vector<int> answers;
        bool ok;
        int status;
        std::size_t reads;
        std::uint64_t waitedMs;
    };
    const Case cases[] = {
        {{1}, true, 1, 1, 100},                           // 0 done at once
        {{3, 1}, true, 1, 2, 200},                        // 1 busy, then done
        {{3, kRefused, 1}, true, 1, 3, 400},              // 2 a failed read while busy keeps busy
        {{kRefused}, false, 0, 1, 100},                   // 3 no status at all
        {{2}, false, 2, 1, 100},                          // 4 failed
        {{4}, false, 4, 1, 100},                          // 5 resend: the caller writes again
        {{3, 3, 3, 3, 3, 3, 3, 1}, true, 1, 8, 4900},     // 6 the rising waits
        {{3}, false, 3, 20, 22900},                       // 7 busy for ever
        {{3, 9}, false, 9, 2, 200},                       // 8 an unknown status
    };
    for (std::size_t row = 0; row < std::size(cases); ++row) {
        ScriptedPort port(cases[row].answers);
        VirtualClock clock;
        const DeviceStatus status = WaitDeviceStatus(UpdateLink{port, clock, {}});
        EXPECT_EQ(status.ok, cases[row].ok) << "row " << row;
        EXPECT_EQ(status.status, cases[row].status) << "row " << row;
        EXPECT_EQ(port.reads, cases[row].reads) << "row " << row;
        EXPECT_EQ(clock.nowMs, cases[row].waitedMs) << "row " << row;
        for (std::size_t length : port.lengths) EXPECT_EQ(length, kUpdateStatusReportLength) << "row " << row;
    }
}

TEST(DeviceStatus, WaitScheduleAndStopRequest) {
    const std::uint32_t expected[] = {100, 100, 200, 400, 600, 1500, 500, 1500, 1500};
    for (int i = 0; i < static_cast<int>(std::size(expected)); ++i) EXPECT_EQ(StatusWaitMs(i), expected[i]) << "attempt " << i;
    EXPECT_EQ(StatusWaitMs(19), 1500u);

    ScriptedPort port({3});
    VirtualClock clock;
    const DeviceStatus status = WaitDeviceStatus(UpdateLink{port, clock, [&] { return clock.nowMs >= 1000; }});
    EXPECT_FALSE(status.ok);
    EXPECT_EQ(clock.nowMs, 1000u) << "stopped within 100 ms of the request";
    EXPECT_EQ(port.reads, 4u) << "reads at 100, 200, 400 and 800 ms; none after the stop";
}

}  // namespace
}  // namespace brenik::updater::test
