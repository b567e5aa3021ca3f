#pragma once
// The keyboard's answer to one update command: the status report read after a rising
// schedule of waits, read again while the keyboard says busy, at most 20 times.

#include "update_link.h"

#include <cstddef>
#include <cstdint>

namespace brenik::updater {

constexpr int kMaxStatusReads = 20;

// Milliseconds waited before status read number attempt (from 0).
std::uint32_t StatusWaitMs(int attempt);

struct DeviceStatus {
    bool ok = false;          // the last status read was 1
    std::uint8_t status = 0;  // the last status read; unchanged by a failed read
};

// status is the command's status so far (0 before the first read).
DeviceStatus WaitDeviceStatus(const UpdateLink& link, std::uint8_t status = 0);

}  // namespace brenik::updater
