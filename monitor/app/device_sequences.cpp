#include "device_sequences.h"

#include "job_codes.h"
#include "monitor_messages.h"

#include <cstddef>

namespace brenik::monitor {
namespace {

// The steps of the keyboard-is-here sequence; each case below runs them in its own order.
enum class Step {
    kMarkAttached,          // device state 1: from now on the job thread runs jobs
    kSettle,                // the arrival's pause, on the main thread
    kAskForDeviceMessages,  // kbhid posts 1325 and 1326 to the main window
    kOpenKeyboard,          // the feature device; what a failure ends depends on the case
    kStartGameTimer,
    kCheckSyncToken,
    kSynchronise,           // job 2, queued at once
    kSynchroniseSoon,       // job 2, queued 200 ms later
    kAddTrayIcon,
    kBringUpSettings,       // only when the command line asked for it
    kWriteDevicePresent,    // "Device" = 1
    kStartCompanions,       // the on-screen display, the volume bar, the applets
};

// What follows when the keyboard does not open.
enum class WithoutKeyboard {
    kGoOn,           // the open's result is not looked at
    kStop,           // nothing more
    kRecordAbsence,  // device state 0 and "Device" = 0, nothing more
};

// Start-up: the job thread runs, and the foreground hook is in. The first synchronisation
// waits for timer 502; the device state and "Device" come last.
constexpr Step kAtStartUp[] = {
    Step::kAskForDeviceMessages,
    Step::kOpenKeyboard,
    Step::kStartGameTimer,
    Step::kCheckSyncToken,
    Step::kSynchroniseSoon,
    Step::kAddTrayIcon,
    Step::kBringUpSettings,
    Step::kStartCompanions,
    Step::kMarkAttached,
    Step::kWriteDevicePresent,
};

// Arrival (1326, wParam 1): attached at once; the keyboard needs time after it appears before
// it answers reports, so the main thread pauses before opening it. The device messages are on
// already. The game timer starts after "Device" = 1.
constexpr Step kOnArrival[] = {
    Step::kMarkAttached,
    Step::kSettle,
    Step::kOpenKeyboard,
    Step::kCheckSyncToken,
    Step::kSynchronise,
    Step::kAddTrayIcon,
    Step::kWriteDevicePresent,
    Step::kStartGameTimer,
    Step::kStartCompanions,
};

// Console session connect: the device messages are asked for again; attached before job 2 is
// queued, or the job thread would drop it.
constexpr Step kOnSessionConnect[] = {
    Step::kAskForDeviceMessages,
    Step::kOpenKeyboard,
    Step::kStartGameTimer,
    Step::kCheckSyncToken,
    Step::kMarkAttached,
    Step::kSynchronise,
    Step::kAddTrayIcon,
    Step::kWriteDevicePresent,
    Step::kStartCompanions,
};

struct HereCase {
    WithoutKeyboard withoutKeyboard;
    const Step* first;
    const Step* last;
};

template <std::size_t N>
constexpr HereCase Case(WithoutKeyboard withoutKeyboard, const Step (&steps)[N]) {
    return {withoutKeyboard, steps, steps + N};
}

HereCase CaseOf(DeviceSequences::KeyboardFound how) {
    switch (how) {
        case DeviceSequences::KeyboardFound::kAtStartUp: return Case(WithoutKeyboard::kRecordAbsence, kAtStartUp);
        case DeviceSequences::KeyboardFound::kArrived: return Case(WithoutKeyboard::kGoOn, kOnArrival);
        case DeviceSequences::KeyboardFound::kSessionConnected: break;
    }
    return Case(WithoutKeyboard::kStop, kOnSessionConnect);
}

// Opens the keyboard; false when the sequence ends there.
bool OpenKeyboard(const DeviceSequenceParts& parts, WithoutKeyboard withoutKeyboard) {
    if (parts.device.OpenFeatureDevice()) return true;
    switch (withoutKeyboard) {
        case WithoutKeyboard::kGoOn: return true;
        case WithoutKeyboard::kRecordAbsence:
            parts.flags.g_iDeviceState.store(kDeviceNotOpened);
            parts.device.WriteDeviceKey(0);
            return false;
        case WithoutKeyboard::kStop: break;
    }
    return false;
}

// One step; false when the sequence ends there.
bool Run(const DeviceSequenceParts& parts, bool openSettingsAfterStart, const HereCase& here, Step step) {
    switch (step) {
        case Step::kMarkAttached: parts.flags.g_iDeviceState.store(kDeviceAttached); break;
        case Step::kSettle: parts.clock.SleepMs(kArrivalSettleMs); break;
        case Step::kAskForDeviceMessages: parts.device.OpenDevMonitor(); break;
        case Step::kOpenKeyboard: return OpenKeyboard(parts, here.withoutKeyboard);
        case Step::kStartGameTimer: parts.games.Start(); break;
        case Step::kCheckSyncToken: parts.device.CheckSyncToken(); break;
        case Step::kSynchronise: parts.jobs.Post(device::kJobSynchronise, 0); break;
        case Step::kSynchroniseSoon: parts.firstSync.Schedule(); break;
        case Step::kAddTrayIcon: parts.tray.Add(); break;
        case Step::kBringUpSettings:
            if (openSettingsAfterStart) parts.companions.BringUpSettings();
            break;
        case Step::kWriteDevicePresent: parts.device.WriteDeviceKey(1); break;
        case Step::kStartCompanions: parts.companions.Start(); break;
    }
    return true;
}

}  // namespace

void DeviceSequences::StartUp() { KeyboardHere(KeyboardFound::kAtStartUp); }

void DeviceSequences::Arrival() {
    if (parts_.flags.g_iDeviceState.load() == kDeviceAttached) return;
    KeyboardHere(KeyboardFound::kArrived);
}

void DeviceSequences::SessionChange(unsigned code) {
    if (code == kSessionConsoleConnect) KeyboardHere(KeyboardFound::kSessionConnected);
    if (code == kSessionConsoleDisconnect) SessionDisconnect();
}

void DeviceSequences::KeyboardHere(KeyboardFound how) {
    const HereCase here = CaseOf(how);
    for (const Step* step = here.first; step != here.last; ++step) {
        if (!Run(parts_, openSettingsAfterStart_, here, *step)) return;
    }
}

void DeviceSequences::Removal() {
    if (parts_.flags.g_iDeviceState.load() == kDeviceRemoved) return;
    parts_.flags.g_iDeviceState.store(kDeviceRemoved);
    // Closed first, so that a running job's remaining transfers fail before it is asked to stop.
    parts_.device.CloseFeatureDevice();
    parts_.flags.RequestJobAbort();
    parts_.tray.Remove();
    parts_.games.Stop();
    parts_.device.WriteDeviceKey(0);
    tray::CloseCompanions(parts_.desktop);
}

void DeviceSequences::SessionDisconnect() {
    // The tray icon, the game timer and a running job are left alone.
    parts_.device.WriteDeviceKey(0);
    parts_.device.CloseDevMonitor();
    parts_.device.CloseFeatureDevice();
    parts_.flags.g_iDeviceState.store(kDeviceNotOpened);
    tray::CloseCompanions(parts_.desktop);
}

}  // namespace brenik::monitor
