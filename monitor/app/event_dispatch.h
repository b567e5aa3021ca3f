#pragma once
// Turns each event word into its action, by event class. What belongs to other parts of the
// monitor (switching profiles, sound cues, the on-screen display, media keys, the device
// sequences, the job thread, saving and publishing) is reached through IMonitorActions.

#include "desktop.h"
#include "event_word.h"
#include "working_copy.h"

#include <cstdint>

namespace brenik {

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
    virtual void DeviceArrived() = 0;
    virtual void DeviceRemoved() = 0;
};

class EventDispatch {
public:
    EventDispatch(IDesktop& desktop, WorkingCopy& state, IMonitorActions& actions)
        : desktop_(desktop), state_(state), actions_(actions) {}

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

    IDesktop& desktop_;
    WorkingCopy& state_;
    IMonitorActions& actions_;
};

}  // namespace brenik
