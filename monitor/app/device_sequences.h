#pragma once
// What the monitor does when the keyboard is found (at start-up, on arrival, on a console
// session connect) and when it goes (removal, session disconnect). The keyboard-is-here steps
// are written once, with each case's own order of them as data (device_sequences.cpp); the
// parts they drive are reached through what each part offers them, so the steps and their
// order can be read, and tested, here.

#include "abortable_sleep.h"
#include "companions.h"
#include "desktop.h"
#include "device_events.h"
#include "device_side.h"
#include "first_sync.h"
#include "game_watch.h"
#include "job_flags.h"
#include "job_queue.h"
#include "tray_icon.h"

namespace brenik::monitor {

// Session-change codes of interest (WTS_CONSOLE_CONNECT, WTS_CONSOLE_DISCONNECT).
constexpr unsigned kSessionConsoleConnect = 1;
constexpr unsigned kSessionConsoleDisconnect = 2;

// The parts the sequences drive.
struct DeviceSequenceParts {
    JobFlags& flags;
    ISleepClock& clock;  // the arrival's pause, on the main thread
    IDeviceSide& device;
    IJobQueue& jobs;
    IFirstSync& firstSync;
    tray::ITrayIcon& tray;
    games::IGameWatch& games;
    tray::ICompanions& companions;
    IDesktop& desktop;  // closing the companions
};

class DeviceSequences final : public IDeviceEvents {
public:
    // openSettingsAfterStart: the command line asked for the settings program once start-up
    // has found the keyboard.
    DeviceSequences(const DeviceSequenceParts& parts, bool openSettingsAfterStart)
        : parts_(parts), openSettingsAfterStart_(openSettingsAfterStart) {}

    // Start-up, once the job thread runs: the keyboard is opened, the rest follows only when it
    // opened.
    void StartUp();
    void Arrival() override;  // only when not already attached
    void Removal() override;  // only when not already removed
    void SessionChange(unsigned code);

    // How the keyboard came to be here.
    enum class KeyboardFound { kAtStartUp, kArrived, kSessionConnected };

private:
    // The one keyboard-is-here sequence, in the order and with the ending of its case.
    void KeyboardHere(KeyboardFound how);
    void SessionDisconnect();

    DeviceSequenceParts parts_;
    const bool openSettingsAfterStart_;
};

}  // namespace brenik::monitor
