#pragma once
// The monitor as the device jobs see it: the working copy behind its lock, saving and
// publishing through the state store, and the settings program's notifications.

#include "desktop.h"
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
    MonitorDeviceHost(IStateStore& store, IDesktop& desktop) : store_(store), settings_(desktop) {}
    void SaveProfiles() override { store_.SaveProfiles(); }
    void PublishState() override { store_.Publish(); }
    void NotifySynchronised() override { settings_.SyncDone(); }
    void NotifyMacroReadBack(int profile, int key) override { settings_.MacroReadBack(profile, key); }

private:
    IStateStore& store_;
    peers::SettingsProgramNotifier settings_;
};

}  // namespace brenik::monitor
