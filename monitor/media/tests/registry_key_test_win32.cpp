// CRegistryKey against Wine's registry, below a key of its own in HKEY_CURRENT_USER that is
// removed again at the end.

#include "registry_key_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace brenik::monitor::media {
namespace {

constexpr const char* kTestKey = "Software\\BrenikRegistryKeyTest";

class RegistryKeyTest : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey); }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey); }

    static std::string Path(const std::string& below) { return std::string("HKEY_CURRENT_USER\\") + kTestKey + below; }
    static void SetRaw(const char* name, DWORD type, const void* data, DWORD size) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr), ERROR_SUCCESS);
        RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
        RegCloseKey(key);
    }
    static void SetString(const char* name, const std::string& text) {
        SetRaw(name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
    }
    static bool Exists(const std::string& below) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, (std::string(kTestKey) + below).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
            return false;
        }
        RegCloseKey(key);
        return true;
    }
};

TEST_F(RegistryKeyTest, OpensBelowTheRootItsFirstWordNames) {
    SetString("", "default text");
    CRegistryKey key;
    ASSERT_TRUE(key.Open(("hkey_current_user\\" + std::string(kTestKey)).c_str(), KEY_READ, CRegistryKey::IfMissing::kFail));
    EXPECT_EQ(key.Root(), HKEY_CURRENT_USER);
    EXPECT_STREQ(key.SubKey(), kTestKey);
    char buffer[64] = {};
    ASSERT_TRUE(key.ReadValue("", buffer, sizeof buffer)) << "empty name: the default value";
    EXPECT_STREQ(buffer, "default text");
    // Any other first word: HKEY_LOCAL_MACHINE and the whole path.
    ASSERT_TRUE(key.Open("Software\\Microsoft", KEY_READ, CRegistryKey::IfMissing::kFail));
    EXPECT_EQ(key.Root(), HKEY_LOCAL_MACHINE);
    EXPECT_STREQ(key.SubKey(), "Software\\Microsoft");
}

TEST_F(RegistryKeyTest, CreatesAMissingKeyOnlyWhenAsked) {
    CRegistryKey key;
    EXPECT_FALSE(key.Open(Path("\\Made").c_str(), KEY_READ, CRegistryKey::IfMissing::kFail));
    EXPECT_FALSE(key.IsOpen());
    EXPECT_FALSE(Exists("\\Made"));
    char buffer[8] = "keep";
    EXPECT_FALSE(key.ReadValue("", buffer, sizeof buffer));
    EXPECT_STREQ(buffer, "keep") << "a failed Open leaves the buffer untouched";

    ASSERT_TRUE(key.Open(Path("\\Made").c_str(), KEY_ALL_ACCESS, CRegistryKey::IfMissing::kCreate));
    EXPECT_TRUE(Exists("\\Made"));
}

TEST_F(RegistryKeyTest, ASecondOpenClosesTheFirstAndAFailedOneLeavesNoKey) {
    SetString("name", "value");
    CRegistryKey key;
    ASSERT_TRUE(key.Open(Path("").c_str(), KEY_READ, CRegistryKey::IfMissing::kFail));
    EXPECT_FALSE(key.Open(Path("\\Missing").c_str(), KEY_READ, CRegistryKey::IfMissing::kFail));
    char buffer[16] = {};
    EXPECT_FALSE(key.ReadValue("name", buffer, sizeof buffer)) << "the first key went with the second Open";
    // A path without a backslash fails, and does not fall back on the root of the last path.
    ASSERT_TRUE(key.Open(Path("").c_str(), KEY_READ, CRegistryKey::IfMissing::kFail));
    EXPECT_FALSE(key.Open("BrenikRegistryKeyTest", KEY_READ, CRegistryKey::IfMissing::kCreate));
    EXPECT_FALSE(key.IsOpen());
    EXPECT_STREQ(key.SubKey(), "");
    key.Close();
    EXPECT_FALSE(key.ReadValue("name", buffer, sizeof buffer));
}

TEST_F(RegistryKeyTest, RefusesPathsLongerThan263Characters) {
    const std::string longest = Path("\\" + std::string(263 - Path("\\").size(), 'k'));
    ASSERT_EQ(longest.size(), 263u);
    CRegistryKey key;
    EXPECT_TRUE(key.Open(longest.c_str(), KEY_ALL_ACCESS, CRegistryKey::IfMissing::kCreate));
    EXPECT_FALSE(key.Open((longest + "k").c_str(), KEY_ALL_ACCESS, CRegistryKey::IfMissing::kCreate));
    EXPECT_FALSE(key.IsOpen());
}

TEST_F(RegistryKeyTest, ReadsAtMostTheBufferAndAlwaysTerminatesInside) {
    SetString("fits", "12345678");  // 9 bytes with the terminator
    const char unterminated[8] = {'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h'};
    SetRaw("binary", REG_BINARY, unterminated, sizeof unterminated);
    SetRaw("short", REG_BINARY, "xyz", 3);
    CRegistryKey key;
    ASSERT_TRUE(key.Open(Path("").c_str(), KEY_READ, CRegistryKey::IfMissing::kFail));

    char buffer[12];
    std::memset(buffer, '#', sizeof buffer);
    ASSERT_TRUE(key.ReadValue("fits", buffer, 9));
    EXPECT_STREQ(buffer, "12345678");
    EXPECT_EQ(buffer[9], '#') << "nothing written past the size given";

    std::memset(buffer, '#', sizeof buffer);
    EXPECT_FALSE(key.ReadValue("fits", buffer, 8)) << "longer than the buffer";
    EXPECT_EQ(buffer[0], '#');

    // The type is not examined; a value that fills the buffer without a terminator is cut.
    std::memset(buffer, '#', sizeof buffer);
    ASSERT_TRUE(key.ReadValue("binary", buffer, 8));
    EXPECT_STREQ(buffer, "abcdefg");
    EXPECT_EQ(buffer[8], '#');
    std::memset(buffer, '#', sizeof buffer);
    ASSERT_TRUE(key.ReadValue("short", buffer, sizeof buffer));
    EXPECT_STREQ(buffer, "xyz");

    EXPECT_FALSE(key.ReadValue("missing", buffer, sizeof buffer));
}

}  // namespace
}  // namespace brenik::monitor::media
