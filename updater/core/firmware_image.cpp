#include "firmware_image.h"

#include "debug_output.h"

#include <cstdio>
#include <memory>

namespace brenik::updater {

using device::kFirmwareBlockSize;
using device::kFirmwareImageCapacity;

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using ScopedFile = std::unique_ptr<std::FILE, FileCloser>;

// The file's length, or -1 when it cannot be told.
long FileLength(std::FILE* file) {
    if (std::fseek(file, 0, SEEK_END) != 0) return -1;
    const long length = std::ftell(file);
    if (std::fseek(file, 0, SEEK_SET) != 0) return -1;
    return length;
}

}  // namespace

std::uint16_t BlockSum(const std::uint8_t* block) {
    std::uint32_t total = 0;
    for (std::size_t i = 0; i < kFirmwareBlockSize; ++i) total += block[i];
    return static_cast<std::uint16_t>(total & 0xFFFF);
}

bool LoadFirmwareImage(const std::string& path, FirmwareImage& image) {
    image.bytes.fill(0);
    image.sums.fill(0);
    image.size = 0;
    if (path.empty() || path.back() == '\\' || path.back() == '/') {
        DebugPrintf("FW Update: no firmware image named\n");
        return false;
    }
    ScopedFile file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        DebugPrintf("FW Update: cannot open the firmware image %s\n", path.c_str());
        return false;
    }
    const long length = FileLength(file.get());
    if (length < 0) {
        DebugPrintf("FW Update: cannot tell the length of %s\n", path.c_str());
        return false;
    }
    if (static_cast<unsigned long>(length) > kFirmwareImageCapacity) {
        DebugPrintf("FW Update: refused %s: %ld bytes, the keyboard holds at most %u\n", path.c_str(), length,
                    static_cast<unsigned>(kFirmwareImageCapacity));
        return false;
    }
    const std::size_t size = static_cast<std::size_t>(length);
    if (size > 0 && std::fread(image.bytes.data(), 1, size, file.get()) != size) {
        DebugPrintf("FW Update: reading %s failed\n", path.c_str());
        image.bytes.fill(0);
        return false;
    }
    image.size = static_cast<std::uint32_t>(size);
    for (std::size_t k = 0; k < image.BlockCount(); ++k) image.sums[k] = BlockSum(image.Block(k));
    return true;
}

}  // namespace brenik::updater
