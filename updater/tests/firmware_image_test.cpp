// Loading the image file: sizes at the block edges, the capacity, refusals before reading.

#include "debug_capture.h"
#include "firmware_image.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace brenik::updater::test {
namespace {

using device::kFirmwareImageCapacity;

class ImageFile {
public:
    explicit ImageFile(const std::vector<std::uint8_t>& bytes) {
        char name[] = "/tmp/brenik-fw-XXXXXX";
        const int fd = mkstemp(name);
        path_ = name;
        std::FILE* file = fdopen(fd, "wb");
        if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
    ~ImageFile() { std::remove(path_.c_str()); }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

std::vector<std::uint8_t> Bytes(std::size_t size, std::uint8_t fill = 0) {
    std::vector<std::uint8_t> bytes(size, fill);
    if (fill == 0)
        for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 13 + 1);
    return bytes;
}

TEST(FirmwareImage, LoadsEverySizeUpToTheCapacityWithItsBlockCountAndSums) {
    struct Case {
        std::size_t size;
        std::size_t blocks;
    };
    const Case cases[] = {{0, 0}, {1, 1}, {1023, 1}, {1024, 1}, {1025, 2}, {1536, 2}, {kFirmwareImageCapacity, 200}};
    auto image = std::make_unique<FirmwareImage>();
    for (std::size_t row = 0; row < std::size(cases); ++row) {
        image->bytes.fill(0x5A);  // what a previous load left must not stay
        image->sums.fill(0x5A5A);
        const auto bytes = Bytes(cases[row].size);
        ImageFile file(bytes);
        ASSERT_TRUE(LoadFirmwareImage(file.Path(), *image)) << "row " << row;
        EXPECT_EQ(image->size, cases[row].size) << "row " << row;
        EXPECT_EQ(image->BlockCount(), cases[row].blocks) << "row " << row;
        EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), image->bytes.begin())) << "row " << row;
        for (std::size_t i = bytes.size(); i < image->bytes.size(); ++i) ASSERT_EQ(image->bytes[i], 0) << "row " << row << " byte " << i;
        for (std::size_t k = 0; k < image->sums.size(); ++k) {
            const std::uint16_t expected = k < cases[row].blocks ? BlockSum(image->Block(k)) : 0;
            ASSERT_EQ(image->sums[k], expected) << "row " << row << " block " << k;
        }
    }
}

TEST(FirmwareImage, SumOfAShortBlockCountsItsZeroFill) {
    auto image = std::make_unique<FirmwareImage>();
    std::vector<std::uint8_t> bytes = Bytes(1025);
    bytes[1024] = 0xC8;
    ImageFile file(bytes);
    ASSERT_TRUE(LoadFirmwareImage(file.Path(), *image));
    EXPECT_EQ(image->sums[1], 0xC8);
}

TEST(FirmwareImage, BlockSumWrapsAt65536) {
    const std::vector<std::uint8_t> ff(1024, 0xFF);
    EXPECT_EQ(BlockSum(ff.data()), 0xFC00);
}

TEST(FirmwareImage, LargerThanTheKeyboardHoldsIsRefusedBeforeReading) {
    auto image = std::make_unique<FirmwareImage>();
    ImageFile file(Bytes(kFirmwareImageCapacity + 1));
    image->size = 77;
    brenik::test::ClearDebugLines();
    EXPECT_FALSE(LoadFirmwareImage(file.Path(), *image));
    EXPECT_TRUE(brenik::test::DebugLinesContain("refused"));
    EXPECT_EQ(image->size, 0u);
    EXPECT_EQ(image->bytes[0], 0) << "nothing was read";
}

TEST(FirmwareImage, MissingFileAndEmptyNameFail) {
    auto image = std::make_unique<FirmwareImage>();
    EXPECT_FALSE(LoadFirmwareImage("/tmp/brenik-no-such-image.bin", *image));
    EXPECT_FALSE(LoadFirmwareImage("", *image));
    EXPECT_FALSE(LoadFirmwareImage("C:\\fw\\", *image));
}

}  // namespace
}  // namespace brenik::updater::test
