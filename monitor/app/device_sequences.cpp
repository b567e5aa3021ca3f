#include "device_sequences.h"

#include "companions.h"

#include "job_flags.h"
#include "monitor_messages.h"

namespace brenik {

void DeviceSequences::Arrival() {
    if (g_iDeviceState.load() == kDeviceAttached) return;
    g_iDeviceState.store(kDeviceAttached);
    // The keyboard needs time after it appears before it answers reports.
    host_.WaitMs(kArrivalSettleMs);
    host_.OpenFeatureDevice();
    host_.CheckSyncToken();
    host_.QueueJob(kJobSynchronise, 0);
    host_.AddTrayIcon();
    host_.WriteDeviceKey(1);
    host_.StartGameTimer();
    host_.StartCompanions();
}

void DeviceSequences::Removal() {
    if (g_iDeviceState.load() == kDeviceRemoved) return;
    g_iDeviceState.store(kDeviceRemoved);
    // Closed first, so that a running job's remaining transfers fail before it is asked to stop.
    host_.CloseFeatureDevice();
    RequestJobAbort();
    host_.RemoveTrayIcon();
    host_.StopGameTimer();
    host_.WriteDeviceKey(0);
    CloseCompanions(desktop_);
}

void DeviceSequences::SessionChange(unsigned code) {
    if (code == kSessionConsoleConnect) SessionConnect();
    if (code == kSessionConsoleDisconnect) SessionDisconnect();
}

void DeviceSequences::SessionConnect() {
    host_.OpenDevMonitor();
    if (!host_.OpenFeatureDevice()) return;
    host_.StartGameTimer();
    host_.CheckSyncToken();
    g_iDeviceState.store(kDeviceAttached);  // before the job is queued, or it would be dropped
    host_.QueueJob(kJobSynchronise, 0);
    host_.AddTrayIcon();
    host_.WriteDeviceKey(1);
    host_.StartCompanions();
}

void DeviceSequences::SessionDisconnect() {
    // The tray icon, the game timer and a running job are left alone.
    host_.WriteDeviceKey(0);
    host_.CloseDevMonitor();
    host_.CloseFeatureDevice();
    g_iDeviceState.store(kDeviceNotOpened);
    CloseCompanions(desktop_);
}

}  // namespace brenik
