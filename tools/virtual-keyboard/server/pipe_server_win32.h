#pragma once
// Serves a KeyboardService on \\.\pipe\<name>: a thread per connected client, each reading
// one whole message, answering it and reading the next until the client closes its end.
// Returns when a "stop" command has been answered (true) or when the pipe could not be
// created (false: for the first instance, usually another server with that name).

#include "keyboard_service.h"

#include <string>

namespace brenik::vkb {

bool RunPipeServer(const std::string& pipeName, KeyboardService& service);

}  // namespace brenik::vkb
