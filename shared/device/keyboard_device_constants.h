#pragma once
// Constants of our keyboard's update mode, shared by the firmware updater and the virtual
// keyboard. Only values live here: each side builds and reads the reports with its own code,
// so that a misreading on one side is caught by the other.
//
// The rule for what the virtual keyboard may share with the host programs: plain values
// (report ids and lengths, command and status codes, fixed byte strings) whose meaning has no
// layout to misread. The monitor's reports carry layouts (offsets, blocks, checksums), and
// both sides name those on their own (monitor/device/device_protocol.h and
// tools/virtual-keyboard/model/keyboard_reports.h), written each from the protocol, so that a
// layout misread on one side fails the exchange in the tests instead of being copied to both.

#include <array>
#include <cstddef>
#include <cstdint>

namespace brenik::device {

// Update command report, written with SetFeature: byte 1 the command.
constexpr std::uint8_t kUpdateCommandReportId = 0x1B;
constexpr std::size_t kUpdateCommandReportLength = 1026;

// Update status report, read with GetFeature: byte 1 the status.
constexpr std::uint8_t kUpdateStatusReportId = 0x1C;
constexpr std::size_t kUpdateStatusReportLength = 3;

// Device information report, read with GetFeature: byte 3 the DFU version.
constexpr std::uint8_t kDeviceInfoReportId = 0x0E;
constexpr std::size_t kDeviceInfoReportLength = 8;

// Update commands (byte 1 of the command report).
constexpr std::uint8_t kDfuStart = 0x00;
constexpr std::uint8_t kDfuSize = 0x01;
constexpr std::uint8_t kDfuPrepare = 0x02;
constexpr std::uint8_t kDfuBlockHeader = 0x03;
constexpr std::uint8_t kDfuBlockData = 0x04;
constexpr std::uint8_t kDfuFinish = 0x0F;

// Byte 4 of DFU_PREPARE.
constexpr std::uint8_t kDfuPrepareMarker = 0xEC;

// Update statuses (byte 1 of the status report).
constexpr std::uint8_t kDfuStatusOk = 1;
constexpr std::uint8_t kDfuStatusBusy = 3;
constexpr std::uint8_t kDfuStatusResend = 4;
// What our keyboard answers for a command it refuses; the updater treats every value other
// than 1, 3 and 4 as a failure, this one included.
constexpr std::uint8_t kDfuStatusFailed = 2;

// The image travels in blocks of this size; the keyboard holds at most kFirmwareMaxBlocks.
constexpr std::size_t kFirmwareBlockSize = 1024;
constexpr std::size_t kFirmwareMaxBlocks = 200;
constexpr std::size_t kFirmwareImageCapacity = kFirmwareBlockSize * kFirmwareMaxBlocks;  // 204,800

// Our keyboard's own values. DFU_START carries the unlock code in bytes 4 to 11, and only
// this code moves the keyboard into update mode, so that no stray report can erase its
// firmware. DFU_SIZE and DFU_BLOCK_HEADER carry the command signature in bytes 8 to 11. Both
// are sent byte by byte in the order given here.
constexpr std::array<std::uint8_t, 8> kDfuUnlockCode = {0x42, 0x52, 0x4E, 0x4B, 0x44, 0x46, 0x55, 0xA5};
constexpr std::array<std::uint8_t, 4> kDfuCommandSignature = {0x5A, 0xC3, 0x3C, 0xA5};

}  // namespace brenik::device
