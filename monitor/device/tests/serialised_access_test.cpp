// Commands from two threads never interleave: a direct read from the window thread waits
// until a job's select request has had its handshake and its data read.

#include "report_channel.h"
#include "device_protocol.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace brenik::monitor::device {
namespace {

class RealSleeps final : public IDeviceClock {
public:
    void SleepMs(unsigned milliseconds) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds / 20));  // 20 times faster
    }
    std::uint32_t NowUnixSeconds() override { return 0; }
};

// Answers every call at once and logs "<thread> <SET|GET> <id>".
class LoggingTransport final : public hid::IFeatureReports {
public:
    bool SetFeature(std::uint8_t* report, std::size_t) override {
        Log("SET", report[0]);
        if (report[0] == kReportSelect) selectSent.store(true);
        return true;
    }
    bool GetFeature(std::uint8_t* report, std::size_t length) override {
        Log("GET", report[0]);
        if (report[0] == kReportSelect && length > kStatusByte) report[kStatusByte] = kStatusDone;
        return true;
    }
    std::vector<std::string> Entries() {
        std::lock_guard<std::mutex> hold(lock_);
        return log_;
    }
    std::atomic<bool> selectSent{false};

private:
    void Log(const char* direction, std::uint8_t id) {
        const std::string who = std::this_thread::get_id() == windowThread ? "window" : "job";
        std::lock_guard<std::mutex> hold(lock_);
        log_.push_back(who + " " + direction + " " + std::to_string(id));
    }

public:
    std::thread::id windowThread;

private:
    std::mutex lock_;
    std::vector<std::string> log_;
};

TEST(SerialisedAccess, WindowThreadReadWaitsForTheJobsSelectAndRead) {
    LoggingTransport transport;
    RealSleeps clock;
    std::atomic<int> abort{0};
    ReportChannel channel(transport, clock, abort);
    transport.windowThread = std::this_thread::get_id();

    std::thread job([&] {
        std::array<std::uint8_t, kLockKeysLength> reply{};
        channel.SelectAndRead(0, kSelectLockKeys, kReportLockKeys, reply.data(), reply.size(), kSelectBlockFirstDelayMs);
    });
    while (!transport.selectSent.load()) std::this_thread::yield();
    std::array<std::uint8_t, kSyncTokenLength> token{};
    channel.ReadDirect(kReportSyncToken, token.data(), token.size());
    job.join();

    EXPECT_EQ(transport.Entries(), (std::vector<std::string>{"job SET 4", "job GET 4", "job GET 7", "window GET 17"}));
}

}  // namespace
}  // namespace brenik::monitor::device
