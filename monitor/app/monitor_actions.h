#pragma once
// MonitorActions: what the event dispatch asks of the monitor, each handed to the part that
// owns it, one line each.

#include "event_dispatch.h"
#include "job_queue.h"
#include "media_keys.h"
#include "on_screen_display.h"
#include "profile_switch.h"
#include "sound_cues.h"
#include "state_store.h"

namespace brenik::monitor {

class MonitorActions final : public IMonitorActions {
public:
    MonitorActions(ProfileSwitch& profiles, sound::SoundCues& sounds, osd::OnScreenDisplay& osd, media::MediaKeys& media, IJobQueue& jobs,
                   IStateStore& store)
        : profiles_(profiles), sounds_(sounds), osd_(osd), media_(media), jobs_(jobs), store_(store) {}

    void SwitchProfile(int index) override { profiles_.Switch(index); }
    void PlaySoundCue(EventWord word) override { sounds_.Play(ClassOf(word), SubCodeOf(word)); }
    void NotifyOsd(std::uint16_t eventClass, std::uint16_t subCode) override { osd_.Notify(eventClass, subCode); }
    void MediaKey(std::uint8_t code, std::uint8_t flag) override { media_.OnKey(code, flag); }
    bool OsdShowsWindowsKey() override { return osd_.ShowsWindowsKey(); }
    void QueueJob(int job, std::intptr_t argument) override { jobs_.Post(job, argument); }
    void Publish() override { store_.Publish(); }
    void SaveProfiles() override { store_.SaveProfiles(); }

private:
    ProfileSwitch& profiles_;
    sound::SoundCues& sounds_;
    osd::OnScreenDisplay& osd_;
    media::MediaKeys& media_;
    IJobQueue& jobs_;
    IStateStore& store_;
};

}  // namespace brenik::monitor
