// Every reply the monitor reads from the keyboard, of any length and any bytes, through the
// commands and jobs that store it in the state record, and through the decoders on buffers of
// exactly their report's length.
//
// Input: the start of the record (current profile, which profiles are "HDD keyboard"), then
// commands, each an operation byte, a profile byte and a key byte; every read the command
// makes takes its reply from the input: a header byte (bit 0: the read fails; bit 1: a macro
// reply gets a correct checksum, so that its content is reached), a 16-bit length and that
// many bytes. A reply shorter than the report leaves the rest of the buffer zero, a longer
// one is cut.
//
// Properties:
// - a failed or refused read leaves the record as it was;
// - a stored macro has at most 400 actions, nothing after them, and is stored under the key
//   that was asked for; names always end inside their 32 bytes;
// - the current profile is 0..4 or what it was;
// - a read for one profile writes nothing outside that profile.

#include "device_commands.h"
#include "device_fuzz_doubles.h"
#include "device_jobs.h"
#include "fuzz_input.h"
#include "job_codes.h"
#include "report_checksum.h"
#include "report_codec.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <vector>

namespace brenik::monitor::device::fuzz {
namespace {

using test::FuzzInput;

// Status polls are answered "done" (the handshake has its own target); every other read
// takes its reply from the input.
class ReplyTransport final : public hid::IFeatureReports {
public:
    explicit ReplyTransport(FuzzInput& input) : input_(input) {}
    bool SetFeature(std::uint8_t*, std::size_t) override { return true; }
    bool GetFeature(std::uint8_t* report, std::size_t length) override {
        if (report[0] == kReportSelect) {
            report[kStatusByte] = kStatusDone;
            return true;
        }
        if (input_.Empty()) return false;
        const std::uint8_t id = report[0];
        const std::uint8_t header = input_.Byte();
        const std::string_view reply = input_.Bytes(input_.Word());
        if (header & 1) return false;
        std::memcpy(report, reply.data(), std::min(reply.size(), length));
        if ((header & 2) && id == kReportMacro) StoreChecksum(report, length);
        return true;
    }

private:
    FuzzInput& input_;
};

class NoHost final : public IDeviceJobHost {
public:
    void SaveProfiles() override {}
    void PublishState() override {}
    void NotifySynchronised() override {}
    void NotifyMacroReadBack(int, int) override {}
    bool KeepProfilesBeforeReadBack() override { return true; }
    void NotifyProfilesReadBack() override {}
};

bool NameEnds(const char* name) { return std::memchr(name, 0, kNameBytes) != nullptr; }

void CheckEntry(const MacroKeyInfo& entry) {
    FUZZ_CHECK(entry.ActionCount <= kMaxMacroActions);
    FUZZ_CHECK(NameEnds(entry.EntryName) && NameEnds(entry.MacroName));
}

// A macro just stored holds nothing after its last action.
void CheckStoredMacro(const MacroKeyInfo& entry) {
    CheckEntry(entry);
    FUZZ_CHECK(entry.FunctionType == kFunctionMacro);
    for (std::size_t i = entry.ActionCount; i < static_cast<std::size_t>(kMaxMacroActions); ++i) {
        FUZZ_CHECK(entry.Actions[i].KeyCode == 0 && entry.Actions[i].EventType == 0 && entry.Actions[i].DelayMs == 0);
    }
}

void CheckProfile(const ProfileRecord& profile) {
    for (const MacroKeyInfo& entry : profile.MacroKeyInfo) CheckEntry(entry);
}

// The bytes just around a region: a write past either end of it changes them.
class Surroundings {
public:
    Surroundings(const StateRecord& record, const void* begin, std::size_t size) {
        const auto* base = reinterpret_cast<const std::uint8_t*>(&record);
        const auto* first = static_cast<const std::uint8_t*>(begin);
        before_ = first - std::min<std::size_t>(kSpan, static_cast<std::size_t>(first - base));
        after_ = first + size;
        afterSize_ = std::min<std::size_t>(kSpan, static_cast<std::size_t>(base + sizeof record - after_));
        saved_.assign(before_, first);
        saved_.insert(saved_.end(), after_, after_ + afterSize_);
        beforeSize_ = static_cast<std::size_t>(first - before_);
    }
    bool Unchanged() const {
        return std::equal(before_, before_ + beforeSize_, saved_.begin()) &&
               std::equal(after_, after_ + afterSize_, saved_.begin() + static_cast<std::ptrdiff_t>(beforeSize_));
    }

private:
    static constexpr std::size_t kSpan = 256;
    const std::uint8_t* before_;
    const std::uint8_t* after_;
    std::size_t beforeSize_ = 0;
    std::size_t afterSize_ = 0;
    std::vector<std::uint8_t> saved_;
};

// A decoder on a reply of exactly its report's length, taken from the input.
void DecodeExact(FuzzInput& input, ProfileRecord& profile, int key) {
    static constexpr std::size_t kLengths[] = {kStandardKeysLength, kLockKeysLength, kKeyBlockALength, kKeyBlockBLength,
                                               kKeyBlockCLength,    kLightingLength, kMacroLength,     kLaunchLength};
    const std::size_t which = input.Byte() % std::size(kLengths);
    std::vector<std::uint8_t> reply(kLengths[which], 0);
    const std::string_view bytes = input.Bytes(reply.size());
    std::copy(bytes.begin(), bytes.end(), reply.begin());
    MacroKeyInfo& entry = profile.MacroKeyInfo[key];
    switch (which) {
    case 0: DecodeStandardKeys(reply.data(), profile); break;
    case 1:
        DecodeLockKeys(reply.data(), profile);
        for (std::int32_t flag : {profile.Tab, profile.CapsLock, profile.LeftWin, profile.RightWin, profile.App, profile.LeftShift}) {
            FUZZ_CHECK(flag == 0 || flag == 1);
        }
        break;
    case 2: DecodeKeyBlock(kKeyBlockA, reply.data(), profile); break;
    case 3: DecodeKeyBlock(kKeyBlockB, reply.data(), profile); break;
    case 4: DecodeKeyBlock(kKeyBlockC, reply.data(), profile); break;
    case 5:
        DecodeLighting(reply.data(), profile);
        FUZZ_CHECK(profile.KeyLightType >= 0 && profile.KeyLightType <= 3);
        break;
    case 6: {
        const MacroKeyInfo saved = entry;
        const std::uint16_t count = static_cast<std::uint16_t>(reply[macro::kCountOffset] | reply[macro::kCountOffset + 1] << 8);
        const bool stored = DecodeMacro(reply.data(), entry);
        FUZZ_CHECK(stored == (count <= kMaxMacroActions));
        if (!stored) FUZZ_CHECK(std::memcmp(&saved, &entry, sizeof entry) == 0);
        if (stored) {
            CheckStoredMacro(entry);
            FUZZ_CHECK(std::memcmp(entry.Actions, reply.data() + macro::kActionsOffset, count * macro::kActionBytes) == 0);
        }
        break;
    }
    default: DecodeLaunch(reply.data(), entry); break;
    }
}

struct Device {
    explicit Device(FuzzInput& input) : transport(input) {}
    CountingClock clock;
    ReplyTransport transport;
    std::atomic<int> abort{0};
    std::atomic<int> synced{0};
    ReportChannel channel{transport, clock, abort};
    MemorySettings settings;
    NoHost host;
};

HeapState& State() {
    static HeapState* state = new HeapState;
    return *state;
}

}  // namespace
}  // namespace brenik::monitor::device::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace brenik;
    using namespace brenik::monitor::device;
    using namespace brenik::monitor::device::fuzz;
    test::StartInput();
    test::FuzzInput input(data, size);

    HeapState& state = State();
    StateRecord& record = state.Record();
    std::memset(&record, 0, sizeof record);
    record.CurrentProfile = static_cast<std::int32_t>(input.Byte() % 7) - 1;  // -1..5
    const std::uint8_t hdd = input.Byte();
    for (int p = 0; p < kProfileCount; ++p) record.Profiles[p].HDDKeyboard = (hdd >> p) & 1;

    Device device(input);
    DeviceCommands commands(device.channel, state, device.settings);
    DeviceJobs jobs(commands, state, device.host, device.synced);
    const auto profileCopy = std::make_unique<ProfileRecord>();

    for (int step = 0; step < 16 && !input.Empty(); ++step) {
        const int op = input.Byte() % 14;
        const int p = input.Byte() % kProfileCount;
        const int key = input.Byte() % kKeyEntryCount;
        const std::int32_t currentBefore = record.CurrentProfile;
        ProfileRecord& profile = record.Profiles[p];
        std::memcpy(profileCopy.get(), &profile, sizeof profile);
        const Surroundings aroundProfile(record, &profile, sizeof profile);
        const Surroundings aroundEntry(record, &profile.MacroKeyInfo[key], sizeof(MacroKeyInfo));
        bool onlyThisProfile = true;
        bool onlyThisEntry = false;
        bool read = true;
        switch (op) {
        case 0:
            commands.ReadCurrentProfile();
            FUZZ_CHECK(IsProfileIndex(record.CurrentProfile) || record.CurrentProfile == currentBefore);
            onlyThisProfile = false;
            break;
        case 1: read = commands.ReadStandardKeys(p); break;
        case 2: read = commands.ReadLockKeys(p); break;
        case 3: read = commands.ReadKeyBlockA(p); break;
        case 4: read = commands.ReadKeyBlockB(p); break;
        case 5: read = commands.ReadKeyBlockC(p); break;
        case 6: read = commands.ReadLighting(p); break;
        case 7:
            read = commands.ReadMacro(p, key);
            if (read) {
                FUZZ_CHECK(profile.MacroKeyInfo[key].KeyIndex == key);
                CheckStoredMacro(profile.MacroKeyInfo[key]);
            }
            onlyThisEntry = true;
            break;
        case 8:
            read = commands.ReadLaunchEntry(p, key);
            if (read) FUZZ_CHECK(profile.MacroKeyInfo[key].KeyIndex == key);
            onlyThisEntry = true;
            break;
        case 9: {
            int firmware = -1;
            if (commands.ReadDeviceInfo(firmware)) FUZZ_CHECK(firmware >= 0 && firmware <= 255);
            onlyThisProfile = false;
            break;
        }
        case 10:
            commands.CheckSyncToken();
            onlyThisProfile = false;
            break;
        case 11:
            jobs.Run(kJobSynchronise, 0);
            onlyThisProfile = false;
            break;
        case 12:
            jobs.Run(kJobReadRecordedMacro, key + 1);
            onlyThisProfile = false;
            break;
        default:
            DecodeExact(input, profile, key);
            break;
        }
        if (!read) FUZZ_CHECK(std::memcmp(profileCopy.get(), &profile, sizeof profile) == 0);
        if (onlyThisProfile) FUZZ_CHECK(aroundProfile.Unchanged());
        if (onlyThisEntry) FUZZ_CHECK(aroundEntry.Unchanged());
        FUZZ_CHECK(IsProfileIndex(record.CurrentProfile) || record.CurrentProfile == currentBefore);
        if (onlyThisProfile) {
            CheckProfile(profile);
        } else {
            for (const ProfileRecord& each : record.Profiles) CheckProfile(each);
        }
    }
    return 0;
}
