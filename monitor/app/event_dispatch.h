#pragma once
// Turns each event word into its action, by event class. What belongs to other parts of the
// monitor (switching profiles, sound cues, the on-screen display's notices, media keys, the job
// thread, saving and publishing) is reached through IMonitorActions, the keyboard's arrival
// and removal through IDeviceEvents (the device sequences), and what the other programs are
// told through their notifiers.

#include "desktop.h"
#include "device_events.h"
#include "display_notifier.h"
#include "event_word.h"
#include "settings_program_notifier.h"
#include "volume_controller_notifier.h"
#include "working_copy.h"

#include <cstdint>

namespace brenik::monitor {

class IMonitorActions {
public:
    virtual ~IMonitorActions() = default;
    virtual void SwitchProfile(int index) = 0;
    virtual void PlaySoundCue(EventWord word) = 0;
    virtual void NotifyOsd(std::uint16_t eventClass, std::uint16_t subCode) = 0;
    virtual void MediaKey(std::uint8_t code, std::uint8_t flag) = 0;
    // Field 16 of the display settings: tell the on-screen display about the Windows key.
    virtual bool OsdShowsWindowsKey() = 0;
    virtual void QueueJob(int job, std::intptr_t argument) = 0;
    virtual void Publish() = 0;
    virtual void SaveProfiles() = 0;
};

class EventDispatch {
public:
    EventDispatch(IDesktop& desktop, WorkingCopy& state, IMonitorActions& actions, IDeviceEvents& device)
        : desktop_(desktop),
          settings_(desktop),
          display_(desktop),
          volume_(desktop),
          state_(state),
          actions_(actions),
          device_(device) {}

    void Dispatch(EventWord word);

private:
    void OnProfileKey(EventWord word);
    void OnMacroRecord(EventWord word);
    void OnLaunchKey(EventWord word);
    void OnDevice(EventWord word);
    void OnVolume(EventWord word);
    void OnLighting(EventWord word);
    void OnLayer(EventWord word);
    void OnWindowsKey(EventWord word);

    IDesktop& desktop_;  // the launch key's program
    peers::SettingsProgramNotifier settings_;
    peers::DisplayNotifier display_;
    peers::VolumeControllerNotifier volume_;
    WorkingCopy& state_;
    IMonitorActions& actions_;
    IDeviceEvents& device_;
};

}  // namespace brenik::monitor
