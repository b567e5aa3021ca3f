// Update mode as the updater drives it: start with the unlock code, size, prepare, block
// header and data, finish; statuses 1, 3 and 4; the image kept for the test to read back.

#include "model_test_support.h"

#include "keyboard_device_constants.h"

#include <gtest/gtest.h>

#include <numeric>

namespace brenik::vkb::test {
namespace {

using namespace brenik::device;

class UpdateModeTest : public ModelTest {
protected:
    // Sends one command and answers its status (0 if a call was refused).
    std::uint8_t Send(const Bytes& report) { return Write(report) ? PollUpdateStatus() : 0; }

    // The whole sequence for an image; false at the first status that is not done.
    bool Transfer(const Bytes& image) {
        if (Send(UpdateCommand(kDfuStart)) != kDfuStatusOk) return false;
        if (Send(SizeCommand(static_cast<std::uint32_t>(image.size()))) != kDfuStatusOk) return false;
        if (Send(UpdateCommand(kDfuPrepare)) != kDfuStatusOk) return false;
        Bytes block(kFirmwareBlockSize);
        for (std::size_t k = 0; k * kFirmwareBlockSize < image.size(); ++k) {
            std::fill(block.begin(), block.end(), 0);
            const std::size_t begin = k * kFirmwareBlockSize;
            const std::size_t end = std::min(image.size(), begin + kFirmwareBlockSize);
            std::copy(image.begin() + static_cast<std::ptrdiff_t>(begin), image.begin() + static_cast<std::ptrdiff_t>(end), block.begin());
            if (Send(BlockHeader(static_cast<std::uint16_t>(k), BlockSum(block.data()))) != kDfuStatusOk) return false;
            if (Send(BlockData(block.data())) != kDfuStatusOk) return false;
        }
        return Send(UpdateCommand(kDfuFinish)) == kDfuStatusOk;
    }

    static Bytes Image(std::size_t size) {
        Bytes image(size);
        for (std::size_t i = 0; i < size; ++i) image[i] = static_cast<std::uint8_t>((i * 7 + i / 1024) & 0xFF);
        return image;
    }
};

TEST_F(UpdateModeTest, ImagesOfEverySizeArriveWhole) {
    const std::size_t sizes[] = {0, 1, 1024, 1025, 5000, kFirmwareImageCapacity};
    for (std::size_t i = 0; i < std::size(sizes); ++i) {
        const Bytes image = Image(sizes[i]);
        ASSERT_TRUE(Transfer(image)) << "row " << i << " size " << sizes[i];
        EXPECT_EQ(keyboard_.FirmwareImage(), image) << "row " << i;
        EXPECT_FALSE(keyboard_.InUpdateMode()) << "row " << i;
        EXPECT_EQ(keyboard_.FinishedUpdates(), static_cast<int>(i + 1)) << "row " << i;
    }
}

TEST_F(UpdateModeTest, StartNeedsTheUnlockCodeAndNothingWorksBeforeIt) {
    EXPECT_EQ(Send(SizeCommand(1024)), kDfuStatusFailed) << "not in update mode";
    EXPECT_EQ(Send(UpdateCommand(kDfuFinish)), kDfuStatusFailed);
    for (std::size_t b = 4; b < 12; ++b) {
        Bytes start = UpdateCommand(kDfuStart);
        start[b] ^= 0x01;
        EXPECT_EQ(Send(start), kDfuStatusFailed) << "unlock byte " << b;
        EXPECT_FALSE(keyboard_.InUpdateMode()) << "unlock byte " << b;
    }
    EXPECT_EQ(Send(UpdateCommand(kDfuStart)), kDfuStatusOk);
    EXPECT_TRUE(keyboard_.InUpdateMode());
}

TEST_F(UpdateModeTest, CommandsWithWrongFieldsFail) {
    struct Case {
        Bytes report;
        std::size_t byte;  // the byte changed, 0 for none
        std::uint8_t value;
    };
    const Case cases[] = {
        {SizeCommand(1024), 8, 0x00},                          // 0 signature
        {SizeCommand(1024), 11, 0x00},                         // 1 signature, last byte
        {SizeCommand(kFirmwareImageCapacity + 1), 0, 0},       // 2 larger than the keyboard holds
        {SizeCommand(1024), 2, 0x01},                          // 3 bytes 2-3 not zero
        {SizeCommand(1024), 12, 0x01},                         // 4 a byte past the fields
        {UpdateCommand(kDfuPrepare), 4, 0xED},                 // 5 prepare marker
        {BlockHeader(0, 0), 9, 0x00},                          // 6 signature
        {BlockHeader(1, 0), 0, 0},                             // 7 block 1 before block 0
        {BlockHeader(2, 0), 0, 0},                             // 8 beyond 2 blocks
        {UpdateCommand(kDfuBlockData), 0, 0},                  // 9 data without a header
        {UpdateCommand(kDfuFinish), 0, 0},                     // 10 before the last block
        {UpdateCommand(0x05), 0, 0},                           // 11 unknown command
    };
    ASSERT_EQ(Send(UpdateCommand(kDfuStart)), kDfuStatusOk);
    ASSERT_EQ(Send(SizeCommand(2048)), kDfuStatusOk);
    ASSERT_EQ(Send(UpdateCommand(kDfuPrepare)), kDfuStatusOk);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        Bytes report = cases[i].report;
        if (cases[i].byte != 0) report[cases[i].byte] = cases[i].value;
        EXPECT_EQ(Send(report), kDfuStatusFailed) << "row " << i;
        EXPECT_EQ(keyboard_.StateJson().find("\"blocksReceived\": 0") != std::string::npos, true) << "row " << i;
    }
    // The refusals changed nothing: the transfer can still go on (row 2 and 4 left the size at 2048).
    const Bytes block(kFirmwareBlockSize, 0x11);
    EXPECT_EQ(Send(BlockHeader(0, BlockSum(block.data()))), kDfuStatusOk);
    EXPECT_EQ(Send(BlockData(block.data())), kDfuStatusOk);
}

TEST_F(UpdateModeTest, BlockWhoseSumDiffersIsAskedForAgainUnderTheSameHeader) {
    ASSERT_EQ(Send(UpdateCommand(kDfuStart)), kDfuStatusOk);
    ASSERT_EQ(Send(SizeCommand(1024)), kDfuStatusOk);
    ASSERT_EQ(Send(UpdateCommand(kDfuPrepare)), kDfuStatusOk);
    Bytes block(kFirmwareBlockSize, 0xFF);
    // 1,024 x 0xFF = 261,120, which is 0xFC00 in 16 bits: sent as 0x00, 0xFC.
    const Bytes header = BlockHeader(0, 0xFC00);
    EXPECT_EQ(header[6], 0x00);
    EXPECT_EQ(header[7], 0xFC);
    ASSERT_EQ(Send(header), kDfuStatusOk);
    Bytes damaged = BlockData(block.data());
    damaged[500] = 0xFE;
    EXPECT_EQ(Send(damaged), kDfuStatusResend);
    EXPECT_EQ(Send(BlockData(block.data())), kDfuStatusOk) << "no new header needed";
    EXPECT_EQ(Send(UpdateCommand(kDfuFinish)), kDfuStatusOk);
    EXPECT_EQ(keyboard_.FirmwareImage(), block);
}

TEST_F(UpdateModeTest, StatusAnswersBusyBeforeItsResult) {
    keyboard_.SetBusyAnswers(2);
    ASSERT_TRUE(Write(UpdateCommand(kDfuStart)));
    EXPECT_EQ(PollUpdateStatus(), kDfuStatusBusy);
    EXPECT_EQ(PollUpdateStatus(), kDfuStatusBusy);
    EXPECT_EQ(PollUpdateStatus(), kDfuStatusOk);
    EXPECT_EQ(PollStatus(), 1) << "the monitor's status is a separate register";
}

TEST_F(UpdateModeTest, UnplugAbandonsATransferButKeepsTheFinishedImage) {
    const Bytes first = Image(3000);
    ASSERT_TRUE(Transfer(first));
    ASSERT_EQ(Send(UpdateCommand(kDfuStart)), kDfuStatusOk);
    ASSERT_EQ(Send(SizeCommand(1024)), kDfuStatusOk);
    keyboard_.Unplug();
    keyboard_.Plug();
    EXPECT_FALSE(keyboard_.InUpdateMode());
    EXPECT_EQ(Send(UpdateCommand(kDfuPrepare)), kDfuStatusFailed);
    EXPECT_EQ(keyboard_.FirmwareImage(), first);
}

TEST_F(UpdateModeTest, DfuVersionIsReadFromTheDeviceInformation) {
    EXPECT_EQ(Read(kDeviceInfoReportId, kDeviceInfoReportLength)[3], 0x03) << "factory DFU version";
    keyboard_.SetDfuVersion(0x12);
    EXPECT_EQ(Read(kDeviceInfoReportId, kDeviceInfoReportLength)[3], 0x12);
}

}  // namespace
}  // namespace brenik::vkb::test
