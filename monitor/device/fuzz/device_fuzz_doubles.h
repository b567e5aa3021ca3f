#pragma once
// The device code's surroundings for its fuzz targets: a clock that only counts, the state
// record on the heap at exactly its size (a read past its end is a sanitizer error), and
// settings that keep the token in memory. The transports are each target's own.

#include "device_clock.h"
#include "device_settings_store.h"
#include "state_access.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>

namespace brenik::monitor::device::fuzz {

class CountingClock final : public IDeviceClock {
public:
    void SleepMs(unsigned milliseconds) override { sleptMs += milliseconds; }
    std::uint32_t NowUnixSeconds() override { return 1'800'000'000u + static_cast<std::uint32_t>(sleptMs / 1000); }
    std::uint64_t sleptMs = 0;
};

class HeapState final : public IStateAccess {
public:
    HeapState() : record_(std::make_unique<StateRecord>()) { std::memset(record_.get(), 0, sizeof *record_); }
    void Read(const std::function<void(const StateRecord&)>& f) override { f(*record_); }
    void Update(const std::function<void(StateRecord&)>& f) override { f(*record_); }
    StateRecord& Record() { return *record_; }

private:
    std::unique_ptr<StateRecord> record_;
};

class MemorySettings final : public IDeviceSettingsStore {
public:
    void StoreFirmwareVersion(int version) override { firmware = version; }
    bool LoadSyncToken(SyncToken& out) override {
        if (!token) return false;
        out = *token;
        return true;
    }
    void StoreSyncToken(const SyncToken& stored) override { token = stored; }

    std::optional<int> firmware;
    std::optional<SyncToken> token;
};

}  // namespace brenik::monitor::device::fuzz
