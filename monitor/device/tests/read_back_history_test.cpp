// Thirty keyboards read back one after another, each set up elsewhere with a token the
// monitor does not know: job 2 keeps the profiles before each read-back through the real
// history (files in memory), the profiles are saved as the monitor saves them, and the
// history keeps the newest copies within its bounds.

#include "virtual_keyboard_rig.h"

#include "ini_file.h"
#include "job_codes.h"
#include "memory_history_folder.h"
#include "memory_ini_storage.h"
#include "profile_history.h"
#include "profile_store.h"

#include <gtest/gtest.h>

namespace brenik::monitor::device::test {
namespace {

constexpr const char* kFolder = "C:\\Brenik\\";

class NoRepeat final : public IKeyboardRepeatSink {
public:
    void SetKeyboardDelay(int) override {}
    void SetKeyboardSpeed(int) override {}
};

class HistoryHost final : public IDeviceJobHost {
public:
    explicit HistoryHost(StateRecord& state) : state_(state) {}
    void SaveProfiles() override { store_.SaveProfiles(state_); }
    void PublishState() override {}
    void NotifySynchronised() override {}
    void NotifyMacroReadBack(int, int) override {}
    bool KeepProfilesBeforeReadBack() override {
        ++seconds_;
        const history::KeepOutcome kept =
            history.Keep(history::HistoryReason::kReadBack, {seconds_, "at " + std::to_string(seconds_)});
        return kept == history::KeepOutcome::kKept || kept == history::KeepOutcome::kUnchanged;
    }
    void NotifyProfilesReadBack() override { ++notices; }

    ini::test::MemoryIniStorage files;
    history::test::MemoryHistoryFolder folder{files};
    history::ProfileHistory history{kFolder, files, folder};
    int notices = 0;

private:
    StateRecord& state_;
    NoRepeat repeat_;
    ProfileStore store_{kFolder, files, repeat_};
    std::int64_t seconds_ = 1'800'000'000;
};

TEST(ReadBackHistory, ThirtyReadBacksKeepTheNewestCopiesWithinTheBound) {
    Rig rig;
    HistoryHost host(rig.state.Record());
    DeviceJobs jobs{rig.commands, rig.state, host, rig.synced};
    constexpr int kReadBacks = 30;
    for (int i = 0; i < kReadBacks; ++i) {
        rig.keyboard.FactoryReset();
        ASSERT_TRUE(rig.keyboard.SetLightingControl(static_cast<std::uint8_t>(100 + i)));
        rig.TokensMatch(false);
        rig.commands.CheckSyncToken();
        jobs.Run(kJobSynchronise, 0);
        ASSERT_EQ(rig.synced.load(), 1) << "read-back " << i;
    }
    EXPECT_EQ(host.notices, kReadBacks - 1) << "the first read-back found no files to keep: nothing to tell";

    const std::vector<history::HistoryEntry> entries = host.history.List();
    ASSERT_EQ(entries.size(), static_cast<std::size_t>(history::kMaxCopies));
    std::uint64_t bytes = 0;
    for (const history::HistoryEntry& entry : entries) {
        EXPECT_FALSE(entry.damaged) << entry.file;
        bytes += entry.bytes;
    }
    EXPECT_LE(bytes, history::kMaxBytes);
    // The newest copy holds what the read-back before the last one saved, the oldest kept one
    // what the tenth saved (the first read-back found no files to keep).
    auto lightingOf = [](const history::HistoryEntry& entry) {
        ini::test::MemoryIniStorage copy;
        copy.files["p"] = entry.copy.Find("config\\Default0.cmp")->bytes;
        return ini::CIniFile("p", copy).ReadInt("Setting", "LtControl", -1);
    };
    EXPECT_EQ(lightingOf(entries.front()), 100 + kReadBacks - 2);
    EXPECT_EQ(lightingOf(entries.back()), 100 + kReadBacks - 2 - (history::kMaxCopies - 1));
}

}  // namespace
}  // namespace brenik::monitor::device::test
