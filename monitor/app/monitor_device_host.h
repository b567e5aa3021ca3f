#pragma once
// The monitor as the device jobs see it: the working copy behind its lock, and saving,
// publishing and the settings program's notifications through the monitor's own actions.

#include "desktop.h"
#include "device_job_host.h"
#include "event_dispatch.h"
#include "state_access.h"
#include "working_copy.h"

namespace brenik {

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
    MonitorDeviceHost(IMonitorActions& actions, IDesktop& desktop) : actions_(actions), desktop_(desktop) {}
    void SaveProfiles() override { actions_.SaveProfiles(); }
    void PublishState() override { actions_.Publish(); }
    void NotifySynchronised() override;
    void NotifyMacroReadBack(int profile, int key) override;

private:
    IMonitorActions& actions_;
    IDesktop& desktop_;
};

}  // namespace brenik
