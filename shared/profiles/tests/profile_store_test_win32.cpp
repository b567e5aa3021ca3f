// ProfileStore on the real file system, under Wine: a first start in an empty "config"
// folder, a profile file locked by another program while the monitor starts, and a missing
// "config" folder.

#include "profile_store.h"
#include "program_folder.h"
#include "scoped_handle.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace brenik {
namespace {

class NoRepeat final : public IKeyboardRepeatSink {
public:
    void SetKeyboardDelay(int) override {}
    void SetKeyboardSpeed(int) override {}
};

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string ReadText(const std::string& path) {
    win32::ScopedHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file.Valid()) return "<missing>";
    std::string text(1 << 20, '\0');
    DWORD got = 0;
    ReadFile(file.Get(), &text[0], static_cast<DWORD>(text.size()), &got, nullptr);
    text.resize(got);
    return text;
}

void WriteText(const std::string& path, const std::string& text) {
    win32::ScopedHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(file.Valid()) << path;
    DWORD put = 0;
    ASSERT_TRUE(WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &put, nullptr));
}

// A program folder under the temporary directory, with or without "config", removed at the end.
class ProfileStoreOnDisk : public ::testing::Test {
protected:
    void SetUp() override {
        char base[MAX_PATH + 1] = {};
        GetTempPathA(MAX_PATH, base);
        folder = std::string(base) + "brenik-profiles-" + std::to_string(GetCurrentProcessId()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name() + "\\";
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    }
    void TearDown() override {
        for (int n = 0; n < kProfileCount; ++n) DeleteFileA(ProfileFilePath(folder, n).c_str());
        DeleteFileA(ConfigIniPathIn(folder).c_str());
        RemoveDirectoryA((folder + "config").c_str());
        RemoveDirectoryA(folder.c_str());
    }
    void MakeConfigFolder() { ASSERT_TRUE(CreateDirectoryA((folder + "config").c_str(), nullptr)); }

    std::string folder;
    NoRepeat repeat;
    std::unique_ptr<StateRecord> state = std::make_unique<StateRecord>();
};

TEST_F(ProfileStoreOnDisk, AFirstStartInAnEmptyConfigFolderCreatesTheFiveFiles) {
    MakeConfigFolder();
    ProfileStore store(folder, ini::SystemIniStorage(), repeat);
    ClearState(*state);
    ASSERT_TRUE(store.LoadProfiles(*state));
    EXPECT_EQ(state->CurrentProfile, -1);
    EXPECT_STREQ(state->Profiles[4].ProFileName, "Default5");

    ASSERT_TRUE(store.SaveProfiles(*state));
    for (int n = 0; n < kProfileCount; ++n) {
        EXPECT_TRUE(Exists(folder + "config\\Default" + std::to_string(n) + ".cmp")) << n;
    }
    EXPECT_EQ(GetPrivateProfileIntA("Setting", "CurrentProfile", 99, ConfigIniPathIn(folder).c_str()), -1);
    char name[64] = {};
    GetPrivateProfileStringA("Setting", "ProFileName", "", name, sizeof name, ProfileFilePath(folder, 2).c_str());
    EXPECT_STREQ(name, "Default3");
}

// Dates a file's last write back by the given minutes.
void MakeOlder(const std::string& path, int minutes) {
    win32::ScopedHandle file(CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER when{{now.dwLowDateTime, now.dwHighDateTime}};
    when.QuadPart -= static_cast<ULONGLONG>(minutes) * 60 * 10000000;
    const FILETIME then{when.LowPart, when.HighPart};
    ASSERT_TRUE(SetFileTime(file.Get(), nullptr, nullptr, &then)) << path;
}

TEST_F(ProfileStoreOnDisk, TemporaryFilesLeftByAKilledSaveAreRemovedByTheNextSave) {
    MakeConfigFolder();
    // What a save killed between writing its temporary file and moving it leaves behind.
    const std::vector<std::string> leftovers = {folder + "ini1A2B.tmp", folder + "config\\iniFFFF.tmp",
                                                folder + "config\\ini0001.tmp"};
    for (const std::string& path : leftovers) {
        WriteText(path, "[Setting]\r\nProFileName=half");
        MakeOlder(path, 1);
    }
    const std::string notOurs = folder + "config\\notes.tmp";
    WriteText(notOurs, "kept");
    MakeOlder(notOurs, 1);
    // A save of another process in flight: its file is seconds old at most, and stays.
    const std::string inFlight = folder + "config\\ini7777.tmp";
    WriteText(inFlight, "[Setting]\r\nProFileName=moving");

    ProfileStore store(folder, ini::SystemIniStorage(), repeat);
    ClearState(*state);
    ASSERT_TRUE(store.LoadProfiles(*state));
    ASSERT_TRUE(store.SaveProfiles(*state));
    for (const std::string& path : leftovers) EXPECT_FALSE(Exists(path)) << path;
    EXPECT_EQ(ReadText(notOurs), "kept") << "only our own temporary files go";
    EXPECT_TRUE(Exists(inFlight)) << "a fresh temporary file may be another save's";
    DeleteFileA(notOurs.c_str());
    DeleteFileA(inFlight.c_str());
    char name[64] = {};
    GetPrivateProfileStringA("Setting", "ProFileName", "", name, sizeof name, ProfileFilePath(folder, 0).c_str());
    EXPECT_STREQ(name, "Default1");
}

TEST_F(ProfileStoreOnDisk, AProfileFileLockedAtStartUpIsNotOverwrittenLater) {
    MakeConfigFolder();
    const std::string path = ProfileFilePath(folder, 1);
    const std::string original = "[Setting]\r\nProFileName=Precious\r\nKeyboardSpeed=9\r\n";
    WriteText(path, original);

    ProfileStore store(folder, ini::SystemIniStorage(), repeat);
    {
        // Another program holds the file open without sharing while the monitor starts.
        win32::ScopedHandle locked(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(locked.Valid());
        ClearState(*state);
        ASSERT_TRUE(store.LoadProfiles(*state));
    }
    EXPECT_STREQ(state->Profiles[1].ProFileName, "Default2");
    EXPECT_TRUE(store.IsProtected(1));

    ASSERT_TRUE(store.SaveProfiles(*state));
    EXPECT_EQ(ReadText(path), original);
    EXPECT_TRUE(Exists(ProfileFilePath(folder, 0)));
}

TEST_F(ProfileStoreOnDisk, WithoutAConfigFolderSavesAreLostQuietly) {
    ProfileStore store(folder, ini::SystemIniStorage(), repeat);
    ClearState(*state);
    ASSERT_TRUE(store.LoadProfiles(*state));
    state->CurrentProfile = 0;
    EXPECT_TRUE(store.SaveProfiles(*state));
    EXPECT_FALSE(Exists(folder + "config"));
    EXPECT_EQ(GetPrivateProfileIntA("Setting", "CurrentProfile", 99, ConfigIniPathIn(folder).c_str()), 0)
        << "config.ini beside the program is still written";
}

}  // namespace
}  // namespace brenik
