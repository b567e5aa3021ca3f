#pragma once
// ProfileSwitch: makes a profile current, whether the keyboard switched (event class 0x3000) or
// game detection found a profile's game in front. In this order: the current index and the
// profile's layer (standard) change in the working copy, the copy is published, job 3 writes
// the index to the keyboard, the profiles are saved, the settings program is told (1255), and
// the on-screen display too when its profile notices are on. A switch to the profile that is
// current already runs every step; an index outside 0..4 does nothing. On the window's thread.

#include "desktop.h"
#include "job_queue.h"
#include "on_screen_display.h"
#include "settings_program_notifier.h"
#include "state_store.h"
#include "working_copy.h"

namespace brenik::monitor {

class ProfileSwitch {
public:
    ProfileSwitch(WorkingCopy& state, IStateStore& store, IJobQueue& jobs, IDesktop& desktop, osd::OnScreenDisplay& osd)
        : state_(state), store_(store), jobs_(jobs), settings_(desktop), osd_(osd) {}

    void Switch(int index);

private:
    WorkingCopy& state_;
    IStateStore& store_;
    IJobQueue& jobs_;
    peers::SettingsProgramNotifier settings_;
    osd::OnScreenDisplay& osd_;
};

}  // namespace brenik::monitor
