#include "device_sequences.h"

#include "job_flags.h"
#include "program_windows.h"
#include "recording_desktop.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

namespace brenik::monitor {
namespace {

// Every part the sequences drive, recording into one log in the order asked.
class RecordingHost final : public ISleepClock, public IDeviceSide, public IJobQueue, public IFirstSync, public tray::ITrayIcon {
public:
    explicit RecordingHost(const JobFlags& flags) : flags_(flags) {}

    void SleepMs(unsigned ms) override { log.push_back("wait " + std::to_string(ms)); }
    void OpenDevMonitor() override { log.push_back("open monitor"); }
    void CloseDevMonitor() override { log.push_back("close monitor"); }
    bool OpenFeatureDevice() override {
        log.push_back("open device");
        return keyboardPresent;
    }
    void CloseFeatureDevice() override { log.push_back("close device"); }
    void CheckSyncToken() override { log.push_back("token"); }
    bool Post(int job, std::intptr_t argument) override {
        log.push_back("job " + std::to_string(job) + " " + std::to_string(argument) + " state " +
                      std::to_string(flags_.g_iDeviceState.load()));
        return true;
    }
    void Schedule() override { log.push_back("first sync timer"); }
    void Add() override { log.push_back("tray add"); }
    void Remove() override { log.push_back("tray remove"); }
    void WriteDeviceKey(int present) override { log.push_back("Device=" + std::to_string(present)); }

    // The game timer and the companions, whose Start and Stop would otherwise meet in one class.
    struct Games final : games::IGameWatch {
        explicit Games(std::vector<std::string>& log) : log(log) {}
        void Start() override { log.push_back("timer start"); }
        void Stop() override { log.push_back("timer stop"); }
        std::vector<std::string>& log;
    };
    struct CompanionStarts final : tray::ICompanions {
        explicit CompanionStarts(std::vector<std::string>& log) : log(log) {}
        void Start() override { log.push_back("companions"); }
        void BringUpSettings() override { log.push_back("settings program"); }
        std::vector<std::string>& log;
    };

    bool keyboardPresent = true;
    std::vector<std::string> log;
    Games games{log};
    CompanionStarts companions{log};

private:
    const JobFlags& flags_;
};

class DeviceSequencesTest : public ::testing::Test {
protected:
    void SetUp() override {
        desktop.Open(kTitleSettings);
        desktop.Open(kTitleOsd);
    }

    JobFlags flags;
    RecordingHost host{flags};
    test::RecordingDesktop desktop;
    DeviceSequences sequences{{flags, host, host, host, host, host, host.games, host.companions, desktop}, false};
};

TEST(DeviceSequencesStartUp, OpensTheKeyboardAndWritesItsPresenceLast) {
    struct Row {
        bool keyboard;
        bool openSettings;  // "1" on the command line
        std::vector<std::string> log;
        int state;
    };
    const Row rows[] = {
        {true, false,
         {"open monitor", "open device", "timer start", "token", "first sync timer", "tray add", "companions", "Device=1"},
         kDeviceAttached},  // 0
        {true, true,
         {"open monitor", "open device", "timer start", "token", "first sync timer", "tray add", "settings program",
          "companions", "Device=1"},
         kDeviceAttached},                                                               // 1
        {false, true, {"open monitor", "open device", "Device=0"}, kDeviceNotOpened},  // 2 nothing else
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        JobFlags flags;
        RecordingHost host{flags};
        test::RecordingDesktop desktop;
        host.keyboardPresent = rows[i].keyboard;
        DeviceSequences sequences{{flags, host, host, host, host, host, host.games, host.companions, desktop},
                                  rows[i].openSettings};
        sequences.StartUp();
        EXPECT_EQ(host.log, rows[i].log) << "row " << i;
        EXPECT_EQ(flags.g_iDeviceState, rows[i].state) << "row " << i;
        EXPECT_TRUE(desktop.posted.empty()) << "row " << i;
    }
}

TEST_F(DeviceSequencesTest, ArrivalRunsInOrderOnceAndWaitsBeforeOpening) {
    sequences.Arrival();
    EXPECT_EQ(host.log, (std::vector<std::string>{"wait 5000", "open device", "token", "job 2 0 state 1", "tray add",
                                                  "Device=1", "timer start", "companions"}));
    EXPECT_EQ(flags.g_iDeviceState, kDeviceAttached);
    host.log.clear();
    sequences.Arrival();
    EXPECT_TRUE(host.log.empty()) << "a second arrival while attached is ignored";
}

TEST_F(DeviceSequencesTest, RemovalClosesTheKeyboardBeforeAbortingAndClosesCompanions) {
    flags.g_iDeviceState = kDeviceAttached;
    flags.g_iJobRunning = 1;
    sequences.Removal();
    EXPECT_EQ(host.log, (std::vector<std::string>{"close device", "tray remove", "timer stop", "Device=0"}));
    EXPECT_EQ(flags.g_iJobAbort, 1) << "the running job is asked to stop";
    EXPECT_EQ(flags.g_iDeviceState, kDeviceRemoved);
    EXPECT_EQ(desktop.posted.size(), 2u);
    EXPECT_EQ(desktop.posted[0].title, kTitleSettings);
    EXPECT_EQ(desktop.posted[1].title, kTitleOsd);

    host.log.clear();
    desktop.posted.clear();
    sequences.Removal();
    EXPECT_TRUE(host.log.empty()) << "a second removal is ignored";
    EXPECT_TRUE(desktop.posted.empty());
}

TEST_F(DeviceSequencesTest, RemovalBeforeAnyArrivalRunsInFull) {
    sequences.Removal();
    EXPECT_EQ(host.log.size(), 4u);
    EXPECT_EQ(flags.g_iJobAbort, 0) << "no job was running";
}

TEST_F(DeviceSequencesTest, SessionConnectAttachesBeforeQueueingTheSynchronisation) {
    sequences.SessionChange(kSessionConsoleConnect);
    EXPECT_EQ(host.log, (std::vector<std::string>{"open monitor", "open device", "timer start", "token", "job 2 0 state 1",
                                                  "tray add", "Device=1", "companions"}));
}

TEST_F(DeviceSequencesTest, SessionConnectWithoutKeyboardStopsAfterOpening) {
    host.keyboardPresent = false;
    sequences.SessionChange(kSessionConsoleConnect);
    EXPECT_EQ(host.log, (std::vector<std::string>{"open monitor", "open device"}));
    EXPECT_EQ(flags.g_iDeviceState, kDeviceNotOpened);
}

TEST_F(DeviceSequencesTest, SessionDisconnectLeavesTrayTimerAndJob) {
    flags.g_iDeviceState = kDeviceAttached;
    flags.g_iJobRunning = 1;
    sequences.SessionChange(kSessionConsoleDisconnect);
    EXPECT_EQ(host.log, (std::vector<std::string>{"Device=0", "close monitor", "close device"}));
    EXPECT_EQ(flags.g_iDeviceState, kDeviceNotOpened);
    EXPECT_EQ(flags.g_iJobAbort, 0);
    EXPECT_EQ(desktop.posted.size(), 2u);
}

TEST_F(DeviceSequencesTest, OtherSessionEventsAreIgnored) {
    for (unsigned code : {0u, 3u, 4u, 5u, 6u, 7u, 8u, 9u}) sequences.SessionChange(code);
    EXPECT_TRUE(host.log.empty());
    EXPECT_TRUE(desktop.posted.empty());
}

}  // namespace
}  // namespace brenik::monitor
