// Faults a test injects: busy, failed status, refused sends and reads, a wrong macro
// checksum, resend in update mode and unplugging after a number of reports.

#include "model_test_support.h"

#include "keyboard_device_constants.h"

#include <gtest/gtest.h>

namespace brenik::vkb::test {
namespace {

using namespace brenik::device;

class FaultsTest : public ModelTest {};

TEST_F(FaultsTest, BusyForeverNeverFinishes) {
    keyboard_.SetBusyAnswers(kForever);
    ASSERT_TRUE(Write({5, 3, 1}));
    for (int poll = 0; poll < 25; ++poll) ASSERT_EQ(PollStatus(), 3) << "poll " << poll;
    ASSERT_TRUE(Write(UpdateCommand(kDfuStart)));
    EXPECT_EQ(PollUpdateStatus(), kDfuStatusBusy);
    keyboard_.ClearFaults();
    ASSERT_TRUE(Write({5, 3, 1}));
    EXPECT_EQ(PollStatus(), 1);
}

TEST_F(FaultsTest, BusyForeverHoldsAlsoForACommandAlreadyAnswered) {
    ASSERT_TRUE(Write({5, 3, 1}));
    keyboard_.SetBusyAnswers(kForever);
    EXPECT_EQ(PollStatus(), 3);
    keyboard_.SetBusyAnswers(0);
    EXPECT_EQ(PollStatus(), 1);
}

TEST_F(FaultsTest, PatchedRepliesCarryValuesTheKeyboardWouldNotSend) {
    keyboard_.PatchReplies(5, 2, 7);
    EXPECT_EQ(Read(5, 3), (Bytes{5, 3, 7}));
    EXPECT_EQ(Read(5, 3), (Bytes{5, 3, 0})) << "used up";

    // A macro action count of 401, its checksum made to fit, twice.
    keyboard_.PatchReplies(20, 70, 0x91, 2);
    keyboard_.PatchReplies(20, 71, 0x01, 2);
    for (int i = 0; i < 2; ++i) {
        const Bytes reply = SelectAndRead(0, 1, 20, 1674);
        ASSERT_FALSE(reply.empty()) << "reply " << i;
        EXPECT_EQ(Le16At(reply, 70), 401) << "reply " << i;
        EXPECT_EQ(Le16At(reply, 1672), ChecksumOf(reply)) << "reply " << i;
    }
    EXPECT_EQ(Le16At(SelectAndRead(0, 1, 20, 1674), 70), 0);

    keyboard_.PatchReplies(4, 1, 9);
    EXPECT_EQ(PollStatus(), 9);
    EXPECT_EQ(PollStatus(), 1);

    keyboard_.PatchReplies(5, 3, 1);   // beyond the report
    keyboard_.PatchReplies(5, 0, 1);   // the id
    keyboard_.PatchReplies(0x63, 1, 1);
    EXPECT_EQ(Read(5, 3), (Bytes{5, 3, 0}));
    EXPECT_NE(keyboard_.StateJson().find("\"replyPatches\": 0"), std::string::npos);
}

TEST_F(FaultsTest, FailedStatusSkipsTheCommand) {
    struct Case {
        int count;
        std::uint8_t status;
        std::vector<std::uint8_t> statuses;  // of four current-profile writes, profiles 1..4
        int profileAfter;
    };
    const Case cases[] = {
        {1, kStatusFailed, {2, 1, 1, 1}, 4},   // 0
        {2, 0x55, {0x55, 0x55, 1, 1}, 4},      // 1
        {kForever, 0, {0, 0, 0, 0}, 0},        // 2
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        keyboard_.ClearFaults();
        ASSERT_TRUE(Write({5, 3, 0}));
        keyboard_.FailCommands(cases[i].count, cases[i].status);
        std::vector<std::uint8_t> statuses;
        for (std::uint8_t p = 1; p <= 4; ++p) {
            ASSERT_TRUE(Write({5, 3, p})) << "row " << i;
            statuses.push_back(PollStatus());
        }
        EXPECT_EQ(statuses, cases[i].statuses) << "row " << i;
        EXPECT_EQ(keyboard_.CurrentProfile(), cases[i].profileAfter) << "row " << i;
    }
}

TEST_F(FaultsTest, RefusedSendsAndReadsCountDown) {
    keyboard_.RefuseSends(2);
    EXPECT_FALSE(Write({5, 3, 2}));
    EXPECT_FALSE(Write({5, 3, 2}));
    EXPECT_EQ(keyboard_.CurrentProfile(), 0) << "a refused send does nothing";
    EXPECT_TRUE(Write({5, 3, 2}));

    keyboard_.RefuseReads(1);
    std::uint8_t buffer[3] = {5, 0xEE, 0xEE};
    EXPECT_FALSE(keyboard_.GetFeature(buffer, 3));
    EXPECT_EQ(buffer[1], 0xEE) << "a refused read leaves the buffer";
    EXPECT_EQ(Read(5, 3), (Bytes{5, 3, 2}));

    keyboard_.RefuseReads(kForever);
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(Read(14, 8).empty()) << "read " << i;
}

TEST_F(FaultsTest, CorruptedMacroReplyHasAChecksumOneOff) {
    ASSERT_TRUE(Write(MacroReport(0, 2, {{0x04, 1, 5}})));
    keyboard_.CorruptMacroReplies(1);
    const Bytes bad = SelectAndRead(0, 2, 20, 1674);
    ASSERT_FALSE(bad.empty());
    EXPECT_NE(Le16At(bad, 1672), ChecksumOf(bad));
    const Bytes good = SelectAndRead(0, 2, 20, 1674);
    EXPECT_EQ(Le16At(good, 1672), ChecksumOf(good));
    Bytes repaired = bad;
    repaired[1672] = good[1672];
    EXPECT_EQ(repaired, good) << "only the checksum differs";
}

TEST_F(FaultsTest, ResendDropsTheUpdateCommand) {
    keyboard_.ResendUpdateCommands(2);
    ASSERT_TRUE(Write(UpdateCommand(kDfuStart)));
    EXPECT_EQ(PollUpdateStatus(), kDfuStatusResend);
    EXPECT_FALSE(keyboard_.InUpdateMode());
    ASSERT_TRUE(Write(UpdateCommand(kDfuStart)));
    EXPECT_EQ(PollUpdateStatus(), kDfuStatusResend);
    ASSERT_TRUE(Write(UpdateCommand(kDfuStart)));
    EXPECT_EQ(PollUpdateStatus(), kDfuStatusOk);
    EXPECT_TRUE(keyboard_.InUpdateMode());
    // Monitor commands are not touched by it.
    keyboard_.ResendUpdateCommands(1);
    ASSERT_TRUE(Write({5, 3, 1}));
    EXPECT_EQ(PollStatus(), 1);
}

TEST_F(FaultsTest, UnplugComesAfterTheNthReport) {
    keyboard_.UnplugAfterReports(3);
    EXPECT_TRUE(Write({5, 3, 1}));            // 1
    EXPECT_TRUE(Write({5, 3, 9}));            // 2: answered with a failed status, not refused
    EXPECT_FALSE(Read(5, 3).empty());         // 3: answered, then unplugged
    EXPECT_FALSE(keyboard_.IsPlugged());
    EXPECT_TRUE(Read(5, 3).empty());
    const std::vector<HostNotice> notices = DrainNotices();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].kind, HostNotice::Kind::kRemoved);

    keyboard_.Plug();
    EXPECT_FALSE(Read(5, 3).empty()) << "the fault was used up";
    keyboard_.UnplugAfterReports(0);
    EXPECT_FALSE(keyboard_.IsPlugged()) << "0 unplugs at once";
}

TEST_F(FaultsTest, RefusedReportsCountTowardsTheUnplug) {
    keyboard_.UnplugAfterReports(2);
    keyboard_.RefuseSends(1);
    EXPECT_FALSE(Write({5, 3, 1}));
    EXPECT_TRUE(keyboard_.IsPlugged());
    EXPECT_FALSE(Write({5, 9}));  // wrong length
    EXPECT_FALSE(keyboard_.IsPlugged());
}

}  // namespace
}  // namespace brenik::vkb::test
