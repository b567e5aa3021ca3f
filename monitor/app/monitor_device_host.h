#pragma once
// The monitor as the device jobs see it: the working copy behind its lock, saving, publishing
// and the profiles' history through the state store, the settings program's notifications,
// and the display's notice when the keyboard's settings replaced the profiles.

#include "desktop.h"
#include "on_screen_display.h"
#include "device_job_host.h"
#include "settings_program_notifier.h"
#include "state_access.h"
#include "state_store.h"
#include "working_copy.h"

namespace brenik::monitor {

class WorkingCopyAccess final : public device::IStateAccess {
public:
    explicit WorkingCopyAccess(WorkingCopy& copy) : copy_(copy) {}
    void Read(const std::function<void(const StateRecord&)>& f) override {
        copy_.Use([&](StateRecord& state) { f(state); });
    }
    void Update(const std::function<void(StateRecord&)>& f) override { copy_.Use(f); }

private:
    WorkingCopy& copy_;
};

class MonitorDeviceHost final : public device::IDeviceJobHost {
public:
    MonitorDeviceHost(IStateStore& store, IDesktop& desktop, osd::OnScreenDisplay& display)
        : store_(store), settings_(desktop), display_(display) {}
    void SaveProfiles() override { store_.SaveProfiles(); }
    void PublishState() override { store_.Publish(); }
    void NotifySynchronised() override { settings_.SyncDone(); }
    void NotifyMacroReadBack(int profile, int key) override { settings_.MacroReadBack(profile, key); }
    bool KeepProfilesBeforeReadBack() override { return store_.KeepHistory(history::HistoryReason::kReadBack); }
    void NotifyProfilesReadBack() override { display_.NotifyProfilesReadBack(); }

private:
    IStateStore& store_;
    peers::SettingsProgramNotifier settings_;
    osd::OnScreenDisplay& display_;
};

}  // namespace brenik::monitor
