// The transfer against the virtual keyboard's update mode, in virtual time.

#include "debug_capture.h"
#include "device_status.h"
#include "keyboard_device_constants.h"
#include "keyboard_port.h"
#include "update_transfer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace brenik::updater::test {
namespace {

using namespace device;
using Bytes = std::vector<std::uint8_t>;

Bytes Pattern(std::size_t size) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>((i * 31 + i / 1024 + 7) & 0xFF);
    return bytes;
}

std::unique_ptr<FirmwareImage> ImageOf(const Bytes& bytes) {
    auto image = std::make_unique<FirmwareImage>();
    std::copy(bytes.begin(), bytes.end(), image->bytes.begin());
    image->size = static_cast<std::uint32_t>(bytes.size());
    for (std::size_t k = 0; k < image->BlockCount(); ++k) image->sums[k] = BlockSum(image->Block(k));
    return image;
}

// The command reports the keyboard accepted, in order.
std::vector<Bytes> SentCommands(const vkb::VirtualKeyboard& keyboard) {
    std::vector<Bytes> sent;
    for (const auto& entry : keyboard.Trace().Entries()) {
        if (entry.fromHost && entry.accepted && !entry.bytes.empty() && entry.bytes[0] == kUpdateCommandReportId) {
            sent.push_back(entry.bytes);
        }
    }
    return sent;
}

class TransferTest : public ::testing::Test {
protected:
    bool Run(const FirmwareImage& image) {
        blocks.clear();
        UpdateLink link{port, clock, [this] { return stop; }};
        return RunTransfer(image, link, [this](std::size_t k) { blocks.push_back(k); });
    }
    VirtualClock clock;
    KeyboardPort port{clock};
    std::vector<std::size_t> blocks;
    bool stop = false;
};

TEST_F(TransferTest, ImagesArriveWholeWithTheirSizeAndSums) {
    const std::size_t sizes[] = {1024, 1025, 1536, kFirmwareImageCapacity};
    for (std::size_t row = 0; row < std::size(sizes); ++row) {
        port.keyboard.ClearTrace();
        const Bytes bytes = Pattern(sizes[row]);
        const auto image = ImageOf(bytes);
        ASSERT_TRUE(Run(*image)) << "row " << row;
        EXPECT_EQ(port.keyboard.FirmwareImage(), bytes) << "row " << row;
        const std::size_t blockCount = (sizes[row] + 1023) / 1024;
        ASSERT_EQ(blocks.size(), blockCount) << "row " << row;
        EXPECT_EQ(blocks.back(), blockCount - 1) << "row " << row;

        const auto sent = SentCommands(port.keyboard);
        ASSERT_EQ(sent.size(), 4 + 2 * blockCount) << "row " << row;
        for (const Bytes& report : sent) EXPECT_EQ(report.size(), kUpdateCommandReportLength) << "row " << row;
        const Bytes& size = sent[1];
        EXPECT_EQ(size[4] | size[5] << 8 | size[6] << 16 | size[7] << 24, static_cast<int>(sizes[row])) << "row " << row;
        const Bytes& lastHeader = sent[3 + 2 * (blockCount - 1)];
        EXPECT_EQ(lastHeader[1], kDfuBlockHeader) << "row " << row;
        EXPECT_EQ(lastHeader[4] | lastHeader[5] << 8, static_cast<int>(blockCount - 1)) << "row " << row;
        EXPECT_EQ(lastHeader[6] | lastHeader[7] << 8, image->sums[blockCount - 1]) << "row " << row;
        EXPECT_EQ(sent.back()[1], kDfuFinish) << "row " << row;
    }
}

TEST_F(TransferTest, ShortLastBlockIsZeroFilledAndItsSumIsTheByte) {
    Bytes bytes = Pattern(1025);
    bytes[1024] = 0xA7;
    const auto image = ImageOf(bytes);
    ASSERT_TRUE(Run(*image));
    const auto sent = SentCommands(port.keyboard);
    const Bytes& header = sent[5];
    const Bytes& data = sent[6];
    EXPECT_EQ(header[6], 0xA7);
    EXPECT_EQ(header[7], 0x00);
    EXPECT_EQ(data[2], 0xA7);
    for (std::size_t i = 3; i < data.size(); ++i) ASSERT_EQ(data[i], 0) << "byte " << i;
}

TEST_F(TransferTest, BlockOfFFIsSummedModulo65536) {
    const Bytes bytes(1024, 0xFF);
    const auto image = ImageOf(bytes);
    EXPECT_EQ(image->sums[0], 261120 % 65536);
    ASSERT_TRUE(Run(*image));
    const Bytes header = SentCommands(port.keyboard)[3];
    EXPECT_EQ(header[6], 0x00);
    EXPECT_EQ(header[7], 0xFC);
}

TEST_F(TransferTest, EmptyImageSendsStartSizePrepareFinishAndSucceeds) {
    const auto image = ImageOf({});
    ASSERT_TRUE(Run(*image));
    const auto sent = SentCommands(port.keyboard);
    ASSERT_EQ(sent.size(), 4u);
    EXPECT_EQ(sent[0][1], kDfuStart);
    EXPECT_EQ(sent[1][1], kDfuSize);
    EXPECT_EQ(sent[1][4] | sent[1][5] | sent[1][6] | sent[1][7], 0);
    EXPECT_EQ(sent[2][1], kDfuPrepare);
    EXPECT_EQ(sent[2][4], kDfuPrepareMarker);
    EXPECT_EQ(sent[3][1], kDfuFinish);
    EXPECT_TRUE(blocks.empty());
}

TEST_F(TransferTest, BlockIndexTravelsLittleEndian) {
    const CommandReport header = MakeBlockHeaderCommand(0x0102, 0xBEEF);
    EXPECT_EQ(header[4], 0x02);
    EXPECT_EQ(header[5], 0x01);
    EXPECT_EQ(header[6], 0xEF);
    EXPECT_EQ(header[7], 0xBE);
    for (std::size_t i = 0; i < kDfuCommandSignature.size(); ++i) EXPECT_EQ(header[8 + i], kDfuCommandSignature[i]);
    for (std::size_t i = 12; i < header.size(); ++i) ASSERT_EQ(header[i], 0) << "byte " << i;
}

TEST_F(TransferTest, ResendAfterDataRewritesTheSameDataWithoutANewHeader) {
    const auto image = ImageOf(Pattern(2048));
    // start, size, prepare, header 0 are answered; the data of block 0 is dropped once.
    UpdateLink link{port, clock, {}};
    ASSERT_TRUE(SendUpdateCommand(link, MakeStartCommand(), kCommandSettleMs));
    ASSERT_TRUE(SendUpdateCommand(link, MakeSizeCommand(image->size)));
    ASSERT_TRUE(SendUpdateCommand(link, MakePrepareCommand()));
    ASSERT_TRUE(SendUpdateCommand(link, MakeBlockHeaderCommand(0, image->sums[0])));
    port.keyboard.ClearTrace();
    port.keyboard.ResendUpdateCommands(1);
    ASSERT_TRUE(SendUpdateCommand(link, MakeBlockDataCommand(image->Block(0))));
    const auto sent = SentCommands(port.keyboard);
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0], sent[1]);
    EXPECT_EQ(sent[1][1], kDfuBlockData);
}

TEST_F(TransferTest, ResendWithoutEndFailsTheCommandPastTheBound) {
    port.keyboard.ResendUpdateCommands(vkb::kForever);
    UpdateLink link{port, clock, {}};
    brenik::test::ClearDebugLines();
    EXPECT_FALSE(SendUpdateCommand(link, MakeStartCommand(), kCommandSettleMs));
    EXPECT_EQ(port.sets, kMaxRewrites + 1);
    EXPECT_TRUE(brenik::test::DebugLinesContain("resend asked more than"));
}

TEST_F(TransferTest, BusyThenDoneSucceedsOnTheSecondRead) {
    port.keyboard.SetBusyAnswers(1);
    UpdateLink link{port, clock, {}};
    ASSERT_TRUE(SendUpdateCommand(link, MakeStartCommand(), kCommandSettleMs));
    EXPECT_EQ(port.gets, 2);
    EXPECT_EQ(clock.nowMs, 500u + 100u + 100u);
}

TEST_F(TransferTest, BusyForeverGivesUpAfterTwentyReadsAndTheFullSchedule) {
    port.keyboard.SetBusyAnswers(vkb::kForever);
    UpdateLink link{port, clock, {}};
    const DeviceStatus status = (port.keyboard.SetFeature(MakeStartCommand().data(), kUpdateCommandReportLength),
                                 WaitDeviceStatus(link));
    EXPECT_FALSE(status.ok);
    EXPECT_EQ(status.status, kDfuStatusBusy);
    EXPECT_EQ(port.gets, kMaxStatusReads);
    EXPECT_EQ(clock.nowMs, 22900u);
}

TEST_F(TransferTest, StatusTwoFailsAtOnceAndNothingMoreIsSent) {
    const auto image = ImageOf(Pattern(4096));
    UpdateLink link{port, clock, {}};
    ASSERT_TRUE(SendUpdateCommand(link, MakeStartCommand(), kCommandSettleMs));
    port.keyboard.FailCommands(1, 2);
    const int getsBefore = port.gets;
    EXPECT_FALSE(SendUpdateCommand(link, MakeSizeCommand(image->size)));
    EXPECT_EQ(port.gets - getsBefore, 1);
}

TEST_F(TransferTest, FailureMidwayEndsWithoutFinish) {
    const auto image = ImageOf(Pattern(5000));
    // start, size, prepare, header 0, data 0, header 1 answered; data 1 fails.
    port.keyboard.UnplugAfterReports(11);
    EXPECT_FALSE(Run(*image));
    EXPECT_EQ(blocks, std::vector<std::size_t>({0}));
    for (const Bytes& report : SentCommands(port.keyboard)) EXPECT_NE(report[1], kDfuFinish);
    EXPECT_EQ(port.keyboard.FinishedUpdates(), 0);
}

TEST_F(TransferTest, FinishRefusedOrFailedIsNoSuccess) {
    const auto image = ImageOf(Pattern(2048));
    // The keyboard is gone when the finish comes: start, size, prepare and two blocks are
    // seven commands of a write and a status read each.
    port.keyboard.UnplugAfterReports(14);
    EXPECT_FALSE(Run(*image));
    EXPECT_EQ(blocks.size(), 2u);
    EXPECT_EQ(port.keyboard.FinishedUpdates(), 0);

    // The keyboard answers the finish with a failed status.
    port.keyboard.Plug();
    port.keyboard.ClearTrace();
    UpdateLink link{port, clock, {}};
    const bool done = RunTransfer(*image, link, [this](std::size_t k) {
        if (k == 1) port.keyboard.FailCommands(1, 2);  // the next write is the finish
    });
    EXPECT_FALSE(done);
    EXPECT_EQ(SentCommands(port.keyboard).back()[1], kDfuFinish);
    EXPECT_EQ(port.keyboard.FinishedUpdates(), 0);
}

TEST_F(TransferTest, UnreadableStatusFailsAfterOneRead) {
    UpdateLink link{port, clock, {}};
    port.keyboard.RefuseReads(1);
    EXPECT_FALSE(SendUpdateCommand(link, MakeStartCommand(), kCommandSettleMs));
    EXPECT_EQ(port.gets, 1);
}

TEST_F(TransferTest, StopRequestEndsTheTransferBeforeTheNextReport) {
    const auto image = ImageOf(Pattern(10 * 1024));
    UpdateLink link{port, clock, [this] { return blocks.size() >= 3; }};
    EXPECT_FALSE(RunTransfer(*image, link, [this](std::size_t k) { blocks.push_back(k); }));
    EXPECT_EQ(blocks.size(), 3u);
    EXPECT_EQ(SentCommands(port.keyboard).size(), 3u + 2u * 3u) << "no report after the stop";
}

TEST_F(TransferTest, TransferTakesTheFloorOfItsWaitsInVirtualTime) {
    const auto image = ImageOf(Pattern(kFirmwareImageCapacity));
    ASSERT_TRUE(Run(*image));
    // 100 ms before each status read, 500 ms after start and finish, 3 pauses of 500 ms.
    const std::uint64_t floorMs = (4 + 2 * 200) * 100 + 2 * 500 + 3 * 500;
    EXPECT_EQ(clock.nowMs, floorMs);
}

}  // namespace
}  // namespace brenik::updater::test
