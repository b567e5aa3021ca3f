// The frame, the handshake's schedule and the abortable waits, in virtual time against the
// virtual keyboard.

#include "virtual_keyboard_rig.h"

#include <gtest/gtest.h>

#include <array>

namespace brenik::monitor::device::test {
namespace {

// Times (ms) at which the keyboard's status was polled.
std::vector<std::uint64_t> StatusPollTimes(const Rig& rig) {
    std::vector<std::uint64_t> times;
    for (const vkb::TraceEntry& entry : rig.keyboard.Trace().Entries()) {
        if (!entry.fromHost && !entry.bytes.empty() && entry.bytes[0] == kReportSelect) {
            times.push_back(entry.timeMicroseconds / 1000);
        }
    }
    return times;
}

bool SendHostState(Rig& rig) {
    std::array<std::uint8_t, kHostStateLength> report = {kReportHostState, 3, 1};
    return rig.channel.WriteCommand(report.data(), report.size(), 0, 100);
}

TEST(SleepAbortable, WholeSlicesOnly) {
    struct Row { unsigned ms; std::uint64_t slept; };
    const Row rows[] = {{0, 0}, {50, 0}, {99, 0}, {100, 100}, {250, 200}, {2000, 2000}};
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        Rig rig;
        rig.channel.SleepAbortable(rows[i].ms);
        EXPECT_EQ(rig.clock.NowMs(), rows[i].slept) << "row " << i;
    }
}

TEST(SleepAbortable, StopsWithinOneSliceOfAnAbort) {
    Rig rig;
    rig.clock.At(250, [&] { rig.abort.store(1); });
    rig.channel.SleepAbortable(2000);
    EXPECT_EQ(rig.clock.NowMs(), 300u);
}

TEST(WaitForReady, FirstDelayZeroPollsAtOnce) {
    Rig rig;
    EXPECT_TRUE(rig.channel.WaitForReady(0));
    EXPECT_EQ(StatusPollTimes(rig), (std::vector<std::uint64_t>{0}));
}

TEST(WaitForReady, BusyForeverGivesUpAfterTheFullSchedule) {
    Rig rig;
    rig.keyboard.SetBusyAnswers(vkb::kForever);
    EXPECT_FALSE(rig.channel.WaitForReady(300));
    EXPECT_EQ(StatusPollTimes(rig),
              (std::vector<std::uint64_t>{300, 400, 500, 700, 1000, 1500, 3500, 5500, 7500, 9500}));
    EXPECT_EQ(rig.clock.NowMs(), 300u + 9200u);
}

TEST(WaitForReady, BusyThenDoneSucceedsOnTheThirdPoll) {
    Rig rig;
    SendHostState(rig);  // a command for the busy answers to belong to
    rig.keyboard.ClearTrace();
    rig.keyboard.SetBusyAnswers(2);
    std::array<std::uint8_t, kHostStateLength> report = {kReportHostState, 3, 0};
    const std::uint64_t start = rig.clock.NowMs();
    EXPECT_TRUE(rig.channel.WriteCommand(report.data(), report.size(), 0, 100));
    EXPECT_EQ(rig.clock.NowMs() - start, 300u);  // 100, 100, 100
    EXPECT_EQ(StatusPollTimes(rig).size(), 3u);
}

TEST(WaitForReady, RefusedReadAfterBusyKeepsPollingButBeforeAnyStatusStops) {
    Rig rig;
    rig.keyboard.SetBusyAnswers(vkb::kForever);
    rig.clock.At(350, [&] { rig.keyboard.RefuseReads(1); });  // poll 1 refused
    rig.clock.At(600, [&] { rig.keyboard.SetBusyAnswers(0); });
    EXPECT_TRUE(rig.channel.WaitForReady(300));  // busy, refused, done at poll 3
    EXPECT_EQ(rig.clock.NowMs(), 700u);

    Rig first;
    first.keyboard.RefuseReads(1);
    EXPECT_FALSE(first.channel.WaitForReady(0));
    EXPECT_EQ(first.keyboard.Trace().Entries().size(), 1u);
}

TEST(WaitForReady, FailedStatusStopsAtOnce) {
    Rig rig;
    rig.keyboard.FailCommands(1);
    EXPECT_FALSE(SendHostState(rig));
    EXPECT_EQ(StatusPollTimes(rig).size(), 1u);
}

TEST(WaitForReady, AbortDuringTheHandshakeEndsItWithin100ms) {
    Rig rig;
    rig.keyboard.SetBusyAnswers(vkb::kForever);
    rig.clock.At(4130, [&] { rig.abort.store(1); });
    EXPECT_FALSE(rig.channel.WaitForReady(300));
    EXPECT_LE(rig.clock.NowMs(), 4230u);
    EXPECT_EQ(StatusPollTimes(rig).back(), 3500u);  // no poll after the abort
}

TEST(WaitForReady, AbortLeftSetFailsEveryHandshakeAlthoughTheReportWasSent) {
    Rig rig;
    rig.abort.store(1);
    EXPECT_FALSE(SendHostState(rig));
    EXPECT_EQ(rig.Lines(true), (std::vector<std::string>{"SET host-state value=1"}));
    EXPECT_EQ(rig.keyboard.HostState(), 1);
}

TEST(WriteCommand, RefusedSendWaitsForNothing) {
    Rig rig;
    rig.keyboard.RefuseSends(1);
    std::array<std::uint8_t, kMacroLength> report{};
    EXPECT_FALSE(rig.channel.WriteCommand(report.data(), 3, kEntrySettleMs, 0));
    EXPECT_EQ(rig.clock.NowMs(), 0u);
    EXPECT_TRUE(StatusPollTimes(rig).empty());
}

TEST(SelectAndRead, RefusedSelectStillCostsItsPauseAndReadsNothing) {
    Rig rig;
    rig.keyboard.RefuseSends(1);
    std::array<std::uint8_t, kLockKeysLength> reply{};
    EXPECT_FALSE(rig.channel.SelectAndRead(0, kSelectLockKeys, kReportLockKeys, reply.data(), reply.size(), 300));
    EXPECT_EQ(rig.clock.NowMs(), 100u);
    EXPECT_EQ(rig.keyboard.Trace().Entries().size(), 1u);  // the refused select only
}

TEST(SelectAndRead, PausesThenHandshakesThenReads) {
    Rig rig;
    std::array<std::uint8_t, kLockKeysLength> reply{};
    ASSERT_TRUE(rig.channel.SelectAndRead(2, kSelectLockKeys, kReportLockKeys, reply.data(), reply.size(), 300));
    const auto& entries = rig.keyboard.Trace().Entries();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].line, "SET select profile=2 selector=0x50 locked-keys");
    EXPECT_EQ(entries[1].timeMicroseconds, 400'000u);  // 100 plain + 300 first delay
    EXPECT_EQ(entries[2].timeMicroseconds, 400'000u);
    EXPECT_EQ(reply[0], kReportLockKeys);
    EXPECT_EQ(reply[2], 2);
}

TEST(SelectAndRead, TimedOutHandshakeStillReads) {
    Rig rig;
    rig.keyboard.SetBusyAnswers(vkb::kForever);
    std::array<std::uint8_t, kLightingLength> reply{};
    EXPECT_TRUE(rig.channel.SelectAndRead(0, kSelectLighting, kReportLighting, reply.data(), reply.size(), 300));
    EXPECT_EQ(rig.clock.NowMs(), 100u + 300u + 9200u);
    EXPECT_EQ(rig.LinesStartingWith("GET lighting").size(), 1u);
}

TEST(SelectAndRead, MacroReplyWithWrongChecksumIsRefused) {
    Rig rig;
    rig.keyboard.CorruptMacroReplies(1);
    std::array<std::uint8_t, kMacroLength> reply{};
    EXPECT_FALSE(rig.channel.SelectAndRead(0, 3, kReportMacro, reply.data(), reply.size(), 1000));
    EXPECT_TRUE(rig.channel.SelectAndRead(0, 3, kReportMacro, reply.data(), reply.size(), 1000));
}

}  // namespace
}  // namespace brenik::monitor::device::test
