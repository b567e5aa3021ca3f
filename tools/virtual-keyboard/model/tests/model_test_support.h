#pragma once
// Helpers for the model's tests: a keyboard on a hand-driven clock, and reports built the
// way a host builds them, byte by byte from the protocol's layouts.

#include "virtual_keyboard.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace brenik::vkb::test {

using Bytes = std::vector<std::uint8_t>;

class ModelTest : public ::testing::Test {
protected:
    ModelTest() : keyboard_([this] { return now_; }) {}

    // A zeroed report with its id in byte 0.
    static Bytes Report(std::uint8_t id, std::size_t length);

    bool Write(const Bytes& report) { return keyboard_.SetFeature(report.data(), report.size()); }
    // Reads a report; an empty result means the read was refused.
    Bytes Read(std::uint8_t id, std::size_t length);
    std::uint8_t PollStatus();        // report 4, byte 1; 0 if refused
    std::uint8_t PollUpdateStatus();  // update status report, byte 1; 0 if refused
    // Select request [4, profile, selector], then the data read; empty if either is refused.
    Bytes SelectAndRead(std::uint8_t profile, std::uint8_t selector, std::uint8_t id, std::size_t length);
    std::vector<HostNotice> DrainNotices();

    std::uint64_t now_ = 0;
    VirtualKeyboard keyboard_;
};

// Macro report 20 for a profile and key with the given actions (key code, event type,
// delay) and the checksum over bytes 0..1671.
Bytes MacroReport(std::uint8_t profile, std::uint8_t key, const std::vector<MacroAction>& actions,
                  const char* macroName = "");
std::uint16_t ChecksumOf(const Bytes& macroReport);  // the sum the report should carry
std::uint16_t Le16At(const Bytes& bytes, std::size_t offset);

// Update command report with the command byte; DFU_START, DFU_SIZE and DFU_BLOCK_HEADER get
// the unlock code or the signature.
Bytes UpdateCommand(std::uint8_t command);
Bytes SizeCommand(std::uint32_t size);
Bytes BlockHeader(std::uint16_t index, std::uint16_t sum);
Bytes BlockData(const std::uint8_t* block);  // 1,024 bytes
std::uint16_t BlockSum(const std::uint8_t* block);

}  // namespace brenik::vkb::test
