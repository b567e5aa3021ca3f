#include "device_sequences.h"

#include "job_flags.h"
#include "monitor_messages.h"
#include "recording_desktop.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brenik {
namespace {

class RecordingHost final : public IDeviceHost {
public:
    void WaitMs(unsigned ms) override { log.push_back("wait " + std::to_string(ms)); }
    void OpenDevMonitor() override { log.push_back("open monitor"); }
    void CloseDevMonitor() override { log.push_back("close monitor"); }
    bool OpenFeatureDevice() override {
        log.push_back("open device");
        return keyboardPresent;
    }
    void CloseFeatureDevice() override { log.push_back("close device"); }
    void CheckSyncToken() override { log.push_back("token"); }
    void QueueJob(int job, std::intptr_t argument) override {
        log.push_back("job " + std::to_string(job) + " " + std::to_string(argument) + " state " +
                      std::to_string(g_iDeviceState.load()));
    }
    void AddTrayIcon() override { log.push_back("tray add"); }
    void RemoveTrayIcon() override { log.push_back("tray remove"); }
    void WriteDeviceKey(int present) override { log.push_back("Device=" + std::to_string(present)); }
    void StartGameTimer() override { log.push_back("timer start"); }
    void StopGameTimer() override { log.push_back("timer stop"); }
    void StartCompanions() override { log.push_back("companions"); }

    bool keyboardPresent = true;
    std::vector<std::string> log;
};

class DeviceSequencesTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_iDeviceState = kDeviceNotOpened;
        g_iJobRunning = 0;
        g_iJobAbort = 0;
        desktop.Open(kTitleSettings);
        desktop.Open(kTitleOsd);
    }
    void TearDown() override { g_iDeviceState = kDeviceNotOpened; }

    RecordingHost host;
    test::RecordingDesktop desktop;
    DeviceSequences sequences{host, desktop};
};

TEST_F(DeviceSequencesTest, ArrivalRunsInOrderOnceAndWaitsBeforeOpening) {
    sequences.Arrival();
    EXPECT_EQ(host.log, (std::vector<std::string>{"wait 5000", "open device", "token", "job 2 0 state 1", "tray add",
                                                  "Device=1", "timer start", "companions"}));
    EXPECT_EQ(g_iDeviceState, kDeviceAttached);
    host.log.clear();
    sequences.Arrival();
    EXPECT_TRUE(host.log.empty()) << "a second arrival while attached is ignored";
}

TEST_F(DeviceSequencesTest, RemovalClosesTheKeyboardBeforeAbortingAndClosesCompanions) {
    g_iDeviceState = kDeviceAttached;
    g_iJobRunning = 1;
    sequences.Removal();
    EXPECT_EQ(host.log, (std::vector<std::string>{"close device", "tray remove", "timer stop", "Device=0"}));
    EXPECT_EQ(g_iJobAbort, 1) << "the running job is asked to stop";
    EXPECT_EQ(g_iDeviceState, kDeviceRemoved);
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
    EXPECT_EQ(g_iJobAbort, 0) << "no job was running";
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
    EXPECT_EQ(g_iDeviceState, kDeviceNotOpened);
}

TEST_F(DeviceSequencesTest, SessionDisconnectLeavesTrayTimerAndJob) {
    g_iDeviceState = kDeviceAttached;
    g_iJobRunning = 1;
    sequences.SessionChange(kSessionConsoleDisconnect);
    EXPECT_EQ(host.log, (std::vector<std::string>{"Device=0", "close monitor", "close device"}));
    EXPECT_EQ(g_iDeviceState, kDeviceNotOpened);
    EXPECT_EQ(g_iJobAbort, 0);
    EXPECT_EQ(desktop.posted.size(), 2u);
}

TEST_F(DeviceSequencesTest, OtherSessionEventsAreIgnored) {
    for (unsigned code : {0u, 3u, 4u, 5u, 6u, 7u, 8u, 9u}) sequences.SessionChange(code);
    EXPECT_TRUE(host.log.empty());
    EXPECT_TRUE(desktop.posted.empty());
}

}  // namespace
}  // namespace brenik
