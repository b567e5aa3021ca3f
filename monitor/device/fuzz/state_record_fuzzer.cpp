// The state record as another program may leave it in the shared block: a record of random
// bytes through every report the jobs build from it (job 1 in both forms, job 3, and the
// volume level for the current profile).
//
// Input: a byte of options, then a pattern repeated over the whole record, so that every
// field, flag, index and count holds bytes the input chose.
//
// Properties (every report the keyboard receives is checked against the record):
// - each report has its id's length, a profile byte 0..4 and, for a macro, a correct checksum;
// - a name travels as the bytes of its own 32-byte field up to its first zero, and never a
//   byte of the field after it; a macro's actions are exactly its ActionCount actions;
// - a macro whose ActionCount is over 400 is not sent, and a debugger line says so;
// - nothing is sent for a current profile outside 0..4 or a volume outside 0..100;
// - the record lies on the heap at exactly its size, so a read past its end is an error.

#include "device_commands.h"
#include "device_fuzz_doubles.h"
#include "device_jobs.h"
#include "fuzz_input.h"
#include "job_codes.h"
#include "report_checksum.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <utility>

namespace brenik::monitor::device::fuzz {
namespace {

std::size_t LengthOf(std::uint8_t id) {
    switch (id) {
    case kReportSelect: return kSelectLength;
    case kReportCurrentProfile: return kCurrentProfileLength;
    case kReportStandardKeys: return kStandardKeysLength;
    case kReportLockKeys: return kLockKeysLength;
    case kReportKeyBlockA: return kKeyBlockALength;
    case kReportKeyBlockB: return kKeyBlockBLength;
    case kReportKeyBlockC: return kKeyBlockCLength;
    case kReportLighting: return kLightingLength;
    case kReportWholeKeyboard: return kWholeKeyboardLength;
    case kReportHostState: return kHostStateLength;
    case kReportSyncToken: return kSyncTokenLength;
    case kReportVolume: return kVolumeLength;
    case kReportMacro: return kMacroLength;
    case kReportLaunch: return kLaunchLength;
    default: return 0;
    }
}

// A name field's bytes as the keyboard must see them: up to the first zero, at most 32.
std::size_t FieldTextLength(const char* field) {
    std::size_t n = 0;
    while (n < kNameBytes && field[n] != 0) ++n;
    return n;
}

void CheckName(const std::uint8_t* wire, const char* field, std::uint8_t fill) {
    const std::size_t n = FieldTextLength(field);
    FUZZ_CHECK(std::memcmp(wire, field, n) == 0);
    for (std::size_t i = n; i < kNameBytes; ++i) FUZZ_CHECK(wire[i] == fill);
}

class CheckingTransport final : public hid::IFeatureReports {
public:
    explicit CheckingTransport(const StateRecord& record) : record_(record) {}

    bool SetFeature(std::uint8_t* report, std::size_t length) override {
        FUZZ_CHECK(length == LengthOf(report[0]));
        switch (report[0]) {
        case kReportCurrentProfile:
            FUZZ_CHECK(IsProfileIndex(report[kProfileByte]) && report[kProfileByte] == record_.CurrentProfile);
            break;
        case kReportStandardKeys:
        case kReportLockKeys:
        case kReportKeyBlockA:
        case kReportKeyBlockB:
        case kReportKeyBlockC:
        case kReportLighting:
            FUZZ_CHECK(report[kLengthByte] == length && IsProfileIndex(report[kProfileByte]));
            break;
        case kReportVolume:
            FUZZ_CHECK(IsProfileIndex(report[kProfileByte]) && report[kVolumeValueByte] <= kVolumeMax);
            break;
        case kReportMacro: CheckMacro(report); break;
        case kReportLaunch: CheckLaunch(report); break;
        default: break;
        }
        ++reports[report[0]];
        return true;
    }

    bool GetFeature(std::uint8_t* report, std::size_t length) override {
        FUZZ_CHECK(report[0] == kReportSelect && length == kSelectLength);
        report[kStatusByte] = kStatusDone;
        return true;
    }

    std::map<std::uint8_t, int> reports;
    std::set<std::pair<int, int>> macrosSent;

private:
    void CheckMacro(const std::uint8_t* report) {
        FUZZ_CHECK(ChecksumMatches(report, kMacroLength));
        const int profile = report[macro::kProfileByte];
        const int key = report[macro::kKeyByte];
        FUZZ_CHECK(IsProfileIndex(profile) && key < kProgrammableKeys);
        const MacroKeyInfo& entry = record_.Profiles[profile].MacroKeyInfo[key];
        const std::size_t count = report[macro::kCountOffset] | report[macro::kCountOffset + 1] << 8;
        FUZZ_CHECK(entry.FunctionType == kFunctionMacro);
        FUZZ_CHECK(count == entry.ActionCount && count <= static_cast<std::size_t>(kMaxMacroActions));
        if (count > 0) {
            CheckName(report + macro::kEntryNameOffset, entry.EntryName, macro::kNameFill);
            CheckName(report + macro::kMacroNameOffset, entry.MacroName, macro::kNameFill);
            FUZZ_CHECK(std::memcmp(report + macro::kActionsOffset, entry.Actions, count * macro::kActionBytes) == 0);
        }
        const std::uint8_t* after = report + macro::kActionsOffset + count * macro::kActionBytes;
        FUZZ_CHECK(std::all_of(after, report + macro::kChecksumOffset, [](std::uint8_t b) { return b == 0; }));
        macrosSent.emplace(profile, key);
    }

    void CheckLaunch(const std::uint8_t* report) {
        const int profile = report[kProfileByte];
        const int key = report[launch::kSelectorByte] - kSelectLaunchBase;
        FUZZ_CHECK(IsProfileIndex(profile) && key >= 0 && key < kProgrammableKeys);
        const MacroKeyInfo& entry = record_.Profiles[profile].MacroKeyInfo[key];
        FUZZ_CHECK(entry.FunctionType == kFunctionLaunchEntry);
        CheckName(report + launch::kNameOffset, entry.MacroName, 0);
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(report[launch::kValueOffset + i]) << (8 * i);
        FUZZ_CHECK(value == entry.LaunchValue);
    }

    const StateRecord& record_;
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

void Tile(std::string_view pattern, StateRecord& record) {
    auto* bytes = reinterpret_cast<std::uint8_t*>(&record);
    const std::size_t total = sizeof record;
    if (pattern.empty()) {
        std::memset(bytes, 0, total);
        return;
    }
    std::size_t filled = std::min(pattern.size(), total);
    std::memcpy(bytes, pattern.data(), filled);
    // Doubling copies; each source range is a whole number of patterns.
    while (filled < total) {
        const std::size_t step = std::min(filled - filled % pattern.size(), total - filled);
        std::memcpy(bytes + filled, bytes, step);
        filled += step;
    }
}

// Macros the apply job would send if their counts were in range.
std::set<std::pair<int, int>> OversizedFlaggedMacros(const StateRecord& record) {
    std::set<std::pair<int, int>> keys;
    for (int p = 0; p < kProfileCount; ++p) {
        if (record.Profiles[p].HDDKeyboard == 0) continue;
        for (int key = 0; key < kProgrammableKeys; ++key) {
            const MacroKeyInfo& entry = record.Profiles[p].MacroKeyInfo[key];
            if (record.KeyChanged[p][key] == 1 && entry.FunctionType == kFunctionMacro && entry.ActionCount > kMaxMacroActions) {
                keys.emplace(p, key);
            }
        }
    }
    return keys;
}

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
    const std::uint8_t options = input.Byte();
    HeapState& state = State();
    StateRecord& record = state.Record();
    Tile(input.Rest(), record);

    CountingClock clock;
    std::atomic<int> abort{0};
    std::atomic<int> synced{0};
    CheckingTransport transport(record);
    ReportChannel channel(transport, clock, abort);
    MemorySettings settings;
    NoHost host;
    DeviceCommands commands(channel, state, settings);
    DeviceJobs jobs(commands, state, host, synced);

    const auto oversized = OversizedFlaggedMacros(record);
    switch (options % 4) {
    case 0: jobs.Run(kJobApplyChanges, 0); break;
    case 1: jobs.Run(kJobApplyChanges, kApplyWholeKeyboard); break;
    case 2:
        jobs.Run(kJobWriteCurrentProfile, 0);
        FUZZ_CHECK((transport.reports[kReportCurrentProfile] == 1) == IsProfileIndex(record.CurrentProfile));
        break;
    default: {
        const int volume = record.VolumeLevel;
        commands.WriteVolume(record.CurrentProfile, volume);
        const bool sendable = IsProfileIndex(record.CurrentProfile) && volume >= 0 && volume <= kVolumeMax;
        FUZZ_CHECK((transport.reports[kReportVolume] == 1) == sendable);
        break;
    }
    }
    for (const auto& [profile, key] : oversized) {
        FUZZ_CHECK(transport.macrosSent.count({profile, key}) == 0);
        if (options % 4 != 0) continue;  // only the apply job sends macros
        const std::string line = "profile " + std::to_string(profile) + " key " + std::to_string(key) + ": more than 400";
        FUZZ_CHECK(test::DebugLinesContain(line));
    }
    return 0;
}
