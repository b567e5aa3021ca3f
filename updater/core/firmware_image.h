#pragma once
// The firmware image as the keyboard takes it: up to 200 blocks of 1,024 bytes, zero-filled
// after the file's end, and a 16-bit sum for each block. The file has no header: its bytes
// are the firmware, sent as they are.

#include "keyboard_device_constants.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace brenik::updater {

struct FirmwareImage {
    std::array<std::uint8_t, device::kFirmwareImageCapacity> bytes{};
    std::array<std::uint16_t, device::kFirmwareMaxBlocks> sums{};
    std::uint32_t size = 0;

    // Blocks that are sent: the size divided by 1,024, rounded up.
    std::size_t BlockCount() const { return (size + device::kFirmwareBlockSize - 1) / device::kFirmwareBlockSize; }
    const std::uint8_t* Block(std::size_t index) const { return bytes.data() + index * device::kFirmwareBlockSize; }
};

// The bytes of one block added as unsigned values, modulo 65,536.
std::uint16_t BlockSum(const std::uint8_t* block);

// Reads the file at path into image (cleared first) and fills its size and sums. False when
// the path is empty, the file cannot be opened or read, or it is larger than the keyboard
// holds (refused before anything is read).
bool LoadFirmwareImage(const std::string& path, FirmwareImage& image);

}  // namespace brenik::updater
