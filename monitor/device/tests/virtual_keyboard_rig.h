#pragma once
// The device code against the virtual keyboard in the same process, on a virtual clock: a
// sleep advances time at once, and actions scheduled for a moment (an abort, an unplug) run
// when time passes it. The keyboard's trace carries the same virtual time.

#include "device_commands.h"
#include "device_jobs.h"
#include "virtual_keyboard.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace brenik::monitor::device::test {

class VirtualClock final : public IDeviceClock {
public:
    void SleepMs(unsigned milliseconds) override;
    std::uint32_t NowUnixSeconds() override { return kEpoch + static_cast<std::uint32_t>(nowMs_ / 1000); }
    std::uint64_t NowMs() const { return nowMs_; }
    // Runs action once time reaches atMs (within the sleep that passes it).
    void At(std::uint64_t atMs, std::function<void()> action) { actions_.emplace(atMs, std::move(action)); }

    static constexpr std::uint32_t kEpoch = 1'800'000'000;

private:
    std::uint64_t nowMs_ = 0;
    std::multimap<std::uint64_t, std::function<void()>> actions_;
};

class ModelTransport final : public hid::IFeatureReports {
public:
    explicit ModelTransport(vkb::VirtualKeyboard& keyboard) : keyboard_(keyboard) {}
    bool SetFeature(std::uint8_t* report, std::size_t length) override { return keyboard_.SetFeature(report, length); }
    bool GetFeature(std::uint8_t* report, std::size_t length) override { return keyboard_.GetFeature(report, length); }

private:
    vkb::VirtualKeyboard& keyboard_;
};

class MemoryState final : public IStateAccess {
public:
    MemoryState();
    void Read(const std::function<void(const StateRecord&)>& f) override { f(*state_); }
    void Update(const std::function<void(StateRecord&)>& f) override { f(*state_); }
    StateRecord& Record() { return *state_; }

private:
    std::unique_ptr<StateRecord> state_;
};

class MemorySettings final : public IDeviceSettingsStore {
public:
    void StoreFirmwareVersion(int version) override { firmware = version; }
    bool LoadSyncToken(SyncToken& out) override;
    void StoreSyncToken(const SyncToken& stored) override { token = stored; ++tokensStored; }

    std::optional<int> firmware;
    std::optional<SyncToken> token;
    int tokensStored = 0;
};

// Records what the jobs asked of the monitor, in order.
class RecordingHost final : public IDeviceJobHost {
public:
    void SaveProfiles() override { events.push_back("save"); }
    void PublishState() override { events.push_back("publish"); }
    void NotifySynchronised() override { events.push_back("notify 1254"); }
    void NotifyMacroReadBack(int profile, int key) override {
        events.push_back("notify 1264 " + std::to_string(profile) + " " + std::to_string(key));
    }
    bool KeepProfilesBeforeReadBack() override {
        events.push_back("keep history");
        return historyHolds;
    }
    void NotifyProfilesReadBack() override { events.push_back("notice read back"); }
    std::vector<std::string> events;
    bool historyHolds = true;
};

struct Rig {
    Rig();
    // Decoded lines of the keyboard's trace; status polls left out unless asked for.
    std::vector<std::string> Lines(bool withStatus = false) const;
    // Only the lines that start with prefix.
    std::vector<std::string> LinesStartingWith(const std::string& prefix) const;
    // Puts a report into the keyboard before a test (the trace is cleared afterwards).
    void Preload(const std::vector<std::uint8_t>& report);
    // The keyboard's token made equal to the stored one, or different.
    void TokensMatch(bool match);

    VirtualClock clock;
    vkb::VirtualKeyboard keyboard;
    ModelTransport transport{keyboard};
    std::atomic<int> abort{0};
    std::atomic<int> synced{0};
    ReportChannel channel{transport, clock, abort};
    MemoryState state;
    MemorySettings settings;
    RecordingHost host;
    DeviceCommands commands{channel, state, settings};
    DeviceJobs jobs{commands, state, host, synced};
};

}  // namespace brenik::monitor::device::test
