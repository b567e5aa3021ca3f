#include "volume_controller_notifier.h"

#include "peer_messages.h"
#include "program_windows.h"

namespace brenik::monitor::peers {

void VolumeControllerNotifier::SyncDone() { PostToTitle(desktop_, kTitleVolumeController, kMsgVolumeSyncDone, 1, 0); }

void VolumeControllerNotifier::VolumeChanged(std::uint16_t subCode) {
    PostToTitle(desktop_, kTitleVolumeController, kMsgVolumeEvent, subCode, 0);
}

void VolumeControllerNotifier::Close() { PostToTitle(desktop_, kTitleVolumeController, kMsgClose); }

}  // namespace brenik::monitor::peers
