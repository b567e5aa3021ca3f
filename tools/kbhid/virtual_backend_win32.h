#pragma once
// The virtual keyboard's server as the keyboard: every feature call is one pipe transaction
// (the server answers each whole, one at a time), and the monitor thread keeps one
// connection open on which it waits for events.

#include "device_backend.h"
#include "monitor_thread_win32.h"

#include <memory>
#include <string>

namespace brenik::kbhid {

std::unique_ptr<IDeviceBackend> MakeVirtualBackend(const std::string& pipeName);

}  // namespace brenik::kbhid
