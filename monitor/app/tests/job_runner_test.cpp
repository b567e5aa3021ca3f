#include "job_runner.h"

#include "debug_capture.h"
#include "job_codes.h"
#include "job_flags.h"
#include "peer_messages.h"
#include "program_windows.h"
#include "recording_desktop.h"
#include "settings_program_notifier.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

namespace brenik::monitor {
namespace {

class RecordingJobs final : public IDeviceJobs {
public:
    explicit RecordingJobs(const JobFlags& flags) : flags_(flags) {}
    void Run(int job, std::intptr_t argument) override {
        runs.push_back(std::to_string(job) + ":" + std::to_string(argument));
        runningSeen = flags_.g_iJobRunning;
        abortSeen = flags_.g_iJobAbort;
    }
    std::vector<std::string> runs;
    int runningSeen = -1;
    int abortSeen = -1;

private:
    const JobFlags& flags_;
};

class JobRunnerTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::ClearDebugLines();
        flags.g_iDeviceState = kDeviceAttached;
        flags.g_iJobAbort = 1;  // left over from an earlier job
    }
    JobFlags flags;
    RecordingJobs jobs{flags};
    test::RecordingDesktop desktop;
    std::atomic<bool> refusing{false};
};

TEST_F(JobRunnerTest, RunsWithTheFlagsSetAroundIt) {
    EXPECT_TRUE(RunJobRequest(device::kJobWriteCurrentProfile, 0, jobs, flags, desktop, refusing));
    EXPECT_EQ(jobs.runs, (std::vector<std::string>{"3:0"}));
    EXPECT_EQ(jobs.runningSeen, 1);
    EXPECT_EQ(jobs.abortSeen, 0) << "a new job starts with the abort request cleared";
    EXPECT_EQ(flags.g_iJobRunning, 0);
}

TEST_F(JobRunnerTest, DroppedUnlessAttachedWhenTaken) {
    for (int state : {kDeviceNotOpened, kDeviceRemoved}) {
        flags.g_iDeviceState = state;
        EXPECT_FALSE(RunJobRequest(device::kJobSynchronise, 0, jobs, flags, desktop, refusing));
    }
    EXPECT_TRUE(jobs.runs.empty());
}

TEST_F(JobRunnerTest, NoJobStartsOnceShutdownRefusesThem) {
    refusing = true;
    EXPECT_FALSE(RunJobRequest(device::kJobSynchronise, 0, jobs, flags, desktop, refusing));
    EXPECT_TRUE(jobs.runs.empty());
    EXPECT_EQ(flags.g_iJobRunning, 0);
}

TEST_F(JobRunnerTest, TheVolumeLevelRunsAsAJobOffTheWindowThread) {
    EXPECT_TRUE(RunJobRequest(device::kJobWriteVolume, 57, jobs, flags, desktop, refusing));
    EXPECT_EQ(jobs.runs, (std::vector<std::string>{"5:57"}));
    EXPECT_EQ(jobs.runningSeen, 1) << "a removal aborts its handshake like any job's";
    flags.g_iDeviceState = kDeviceRemoved;
    EXPECT_FALSE(RunJobRequest(device::kJobWriteVolume, 58, jobs, flags, desktop, refusing)) << "dropped without a keyboard";
}

TEST_F(JobRunnerTest, UnknownJobsAreRefused) {
    EXPECT_FALSE(RunJobRequest(0, 0, jobs, flags, desktop, refusing));
    EXPECT_FALSE(RunJobRequest(9, 0, jobs, flags, desktop, refusing));
    EXPECT_TRUE(jobs.runs.empty());
    EXPECT_TRUE(test::DebugLinesContain("unknown job 9"));
}

TEST_F(JobRunnerTest, ApplyChangesEndsWithTheEnableNotification) {
    desktop.Open(kTitleSettings);
    RunJobRequest(device::kJobApplyChanges, 1, jobs, flags, desktop, refusing);
    EXPECT_EQ(desktop.posted, (std::vector<test::PostedMessage>{{kTitleSettings, kMsgEnableButtons, 0, 0}}));
    EXPECT_EQ(test::DebugLines(), (std::vector<std::string>{"Thread Send Enable OK/Apply Button\n"}));
}

TEST_F(JobRunnerTest, EnableNotificationWithoutTheSettingsProgramSaysSo) {
    peers::SettingsProgramNotifier(desktop).EnableButtons(peers::EnableButtonsFrom::kMessageHandler);
    EXPECT_TRUE(desktop.posted.empty());
    EXPECT_EQ(test::DebugLines(), (std::vector<std::string>{"OnApplyAllSetting Don't find Nerra Option Dialog\n",
                                                            "OnApplyAllSetting  Send Enable OK/Apply Button\n"}));
}

TEST_F(JobRunnerTest, SynchronisationEndsByTellingTheVolumeController) {
    desktop.Open(kTitleVolumeController);
    RunJobRequest(device::kJobSynchronise, 0, jobs, flags, desktop, refusing);
    EXPECT_EQ(desktop.posted, (std::vector<test::PostedMessage>{{kTitleVolumeController, kMsgVolumeSyncDone, 1, 0}}));
}

}  // namespace
}  // namespace brenik::monitor
