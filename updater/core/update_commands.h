#pragma once
// The six update commands, each one full 1,026-byte command report: byte 0 the report id,
// byte 1 the command, the rest as the command needs and zero otherwise. Numbers travel
// little-endian.

#include "keyboard_device_constants.h"

#include <array>
#include <cstdint>

namespace brenik::updater {

using CommandReport = std::array<std::uint8_t, device::kUpdateCommandReportLength>;

CommandReport MakeStartCommand();
CommandReport MakeSizeCommand(std::uint32_t imageSize);
CommandReport MakePrepareCommand();
CommandReport MakeBlockHeaderCommand(std::uint16_t index, std::uint16_t sum);
CommandReport MakeBlockDataCommand(const std::uint8_t* block);  // 1,024 bytes
CommandReport MakeFinishCommand();

}  // namespace brenik::updater
