// The updater's image loading: a firmware file of any length and content, as a user or a
// damaged download may leave it next to KeyFwFlash.
//
// Input: a byte of options (bit 0: the name ends in a separator, bit 1: no file at all), a
// 24-bit file length, then a pattern repeated over the file's length.
//
// Properties:
// - a file of up to 204,800 bytes loads whole: its bytes, zeros after them up to the image's
//   end, its size, one block per started 1,024 bytes, and each block's 16-bit sum;
// - a larger file, a missing one or a name that is a folder is refused with a debugger line
//   and leaves the image empty.

#include "firmware_image.h"
#include "fuzz_input.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <cstdio>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

using namespace brenik::updater;
using brenik::device::kFirmwareBlockSize;
using brenik::device::kFirmwareImageCapacity;

const std::string& ImagePath() {
    // In memory where the system has it: the file is written anew for every input.
    static const std::string* path = new std::string(
        (::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") + std::string("/brenik-fuzz-image-") + std::to_string(::getpid()) + ".bin");
    return *path;
}

// The file's bytes in a buffer kept from input to input: a fresh string of up to 200 KB for
// every input spent most of the run in the page faults of its allocation.
const std::string& FileOf(std::string_view pattern, std::size_t length) {
    static std::string* buffer = new std::string;
    std::string& file = *buffer;
    file.assign(length, '\0');
    if (pattern.empty() || length == 0) return file;
    std::size_t filled = std::min(pattern.size(), length);
    std::copy_n(pattern.begin(), filled, file.begin());
    while (filled < length) {  // doubling copies of whole patterns
        const std::size_t step = std::min(filled - filled % pattern.size(), length - filled);
        std::copy_n(file.begin(), step, file.begin() + static_cast<std::ptrdiff_t>(filled));
        filled += step;
    }
    return file;
}

bool Write(const std::string& path, const std::string& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

bool AllZero(const void* bytes, std::size_t size) {
    static const auto* zeros = new std::array<std::uint8_t, kFirmwareImageCapacity>{};
    return size <= zeros->size() && std::memcmp(bytes, zeros->data(), size) == 0;
}

// The property's own arithmetic: left out of the coverage feedback, which it would only slow
// down (a traced comparison per byte) without telling the fuzzer anything about the loader.
__attribute__((no_sanitize("coverage"))) std::uint16_t SumOf(const char* bytes, std::size_t n) {
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < n; ++i) sum += static_cast<std::uint8_t>(bytes[i]);
    return static_cast<std::uint16_t>(sum);
}

void CheckEmpty(const FirmwareImage& image) {
    FUZZ_CHECK(image.size == 0 && image.BlockCount() == 0);
    FUZZ_CHECK(AllZero(image.bytes.data(), image.bytes.size()));
    FUZZ_CHECK(AllZero(image.sums.data(), sizeof image.sums));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    brenik::test::StartInput();
    brenik::test::FuzzInput input(data, size);
    const std::uint8_t options = input.Byte();
    // Bit 3: a length within 2 KiB of the limit, either side; else up to 8 KiB (most of a run's
    // inputs, so that each costs little).
    const std::size_t length =
        (options & 8) ? kFirmwareImageCapacity - 2048 + input.Word() % 4097 : input.Word() % 8193u;
    const std::string& file = FileOf(input.Rest(), length);

    static FirmwareImage* image = new FirmwareImage;
    image->bytes.fill(0x5A);  // what an earlier image left behind
    image->sums.fill(0x5A5A);
    image->size = 12345;

    if (options & 2) {
        std::remove(ImagePath().c_str());
        FUZZ_CHECK(!LoadFirmwareImage(ImagePath(), *image));
        CheckEmpty(*image);
        FUZZ_CHECK(brenik::test::DebugLinesContain("cannot open"));
        return 0;
    }
    FUZZ_CHECK(Write(ImagePath(), file));
    if (options & 1) {
        FUZZ_CHECK(!LoadFirmwareImage(ImagePath() + ((options & 4) ? "/" : "\\"), *image));
        CheckEmpty(*image);
        FUZZ_CHECK(!brenik::test::DebugLines().empty());
        return 0;
    }
    const bool loaded = LoadFirmwareImage(ImagePath(), *image);
    FUZZ_CHECK(loaded == (length <= kFirmwareImageCapacity));
    if (!loaded) {
        CheckEmpty(*image);
        FUZZ_CHECK(brenik::test::DebugLinesContain("refused"));
        return 0;
    }
    FUZZ_CHECK(image->size == length);
    FUZZ_CHECK(std::memcmp(file.data(), image->bytes.data(), length) == 0);
    FUZZ_CHECK(AllZero(image->bytes.data() + length, image->bytes.size() - length));
    const std::size_t blocks = (length + kFirmwareBlockSize - 1) / kFirmwareBlockSize;
    FUZZ_CHECK(image->BlockCount() == blocks);
    for (std::size_t k = 0; k < blocks; ++k) {
        const std::size_t first = k * kFirmwareBlockSize;
        FUZZ_CHECK(image->sums[k] == SumOf(file.data() + first, std::min(length - first, kFirmwareBlockSize)));
    }
    FUZZ_CHECK(AllZero(image->sums.data() + blocks, (image->sums.size() - blocks) * sizeof(std::uint16_t)));
    return 0;
}
