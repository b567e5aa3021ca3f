#include "monitor_device_host.h"

#include "monitor_messages.h"

namespace brenik {

void MonitorDeviceHost::NotifySynchronised() { PostToTitle(desktop_, kTitleSettings, kMsgSyncDone); }

void MonitorDeviceHost::NotifyMacroReadBack(int profile, int key) {
    PostToTitle(desktop_, kTitleSettings, kMsgMacroReadBack, static_cast<std::uintptr_t>(profile), key);
}

}  // namespace brenik
