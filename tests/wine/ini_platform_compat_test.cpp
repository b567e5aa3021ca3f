// CIniFile against the platform's own private-profile functions, run under Wine: each reads
// what the other wrote, over a table of cases. Where we follow documented Windows behaviour
// that Wine does not share, the test is named after the difference and checks the Windows
// result; Wine's answer is printed beside it.

#include "ini_file.h"
#include "program_folder.h"
#include "scoped_handle.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace brenik::ini {
namespace {

constexpr const char* kDefault = "<default>";

// A fresh folder under the temporary directory, emptied and removed at the end.
class TempFolder {
public:
    TempFolder() {
        char base[MAX_PATH + 1] = {};
        GetTempPathA(MAX_PATH, base);
        path_ = std::string(base) + "brenik-ini-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(counter_++) + "\\";
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~TempFolder() {
        WIN32_FIND_DATAA found;
        const HANDLE search = FindFirstFileA((path_ + "*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                DeleteFileA((path_ + found.cFileName).c_str());
            } while (FindNextFileA(search, &found));
            FindClose(search);
        }
        RemoveDirectoryA(path_.c_str());
    }
    std::string File(const std::string& name) const { return path_ + name; }
    const std::string& Path() const { return path_; }

private:
    static inline int counter_ = 0;
    std::string path_;
};

void WriteBytes(const std::string& path, const std::string& bytes) {
    win32::ScopedHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(file.Valid()) << path;
    DWORD put = 0;
    ASSERT_TRUE(WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr));
}

std::optional<std::string> ReadBytes(const std::string& path) {
    win32::ScopedHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file.Valid()) return std::nullopt;
    std::string bytes(GetFileSize(file.Get(), nullptr), '\0');
    DWORD got = 0;
    if (!bytes.empty() && !ReadFile(file.Get(), &bytes[0], static_cast<DWORD>(bytes.size()), &got, nullptr)) return std::nullopt;
    return bytes;
}

std::string PlatformString(const std::string& file, const char* section, const char* key, const char* def = kDefault) {
    std::vector<char> buffer(2048, '\x7F');
    const DWORD n = GetPrivateProfileStringA(section, key, def, buffer.data(), static_cast<DWORD>(buffer.size()), file.c_str());
    return std::string(buffer.data(), n);
}

int PlatformInt(const std::string& file, const char* section, const char* key, int def) {
    return static_cast<int>(GetPrivateProfileIntA(section, key, def, file.c_str()));
}

// One file of awkward but legal text, read by both sides.
const char* const kAwkwardFile =
    "[Setting]\r\n"
    "CurrentProfile=2\r\n"
    "  spaced   =   a b c   \r\n"
    "quoted=\"  hello  \"\r\n"
    "single='x'\r\n"
    "mismatched=\"x'\r\n"
    "inline=value ; not a comment\r\n"
    "#hash=visible\r\n"
    "dup=first\r\n"
    "dup=second\r\n"
    "noequals\r\n"
    "empty=\r\n"
    "eq=a=b\r\n"
    "negative=-1\r\n"
    "plus=+7\r\n"
    "digitsThenText=12abc\r\n"
    "text=abc\r\n"
    "hex=0x10\r\n"
    "wrap=4294967297\r\n"
    "high=Caf\xE9 \xFF\x80\r\n"
    "\tTabbed\t=\tv\t\r\n"
    "[ Other ]\r\n"
    "k=1\r\n"
    "[setting]\r\n"
    "onlyInSecondCopy=lost\r\n";

struct ReadCase {
    const char* section;
    const char* key;
};

const ReadCase kSameReads[] = {
    {"Setting", "CurrentProfile"},    // 0
    {"SETTING", "currentprofile"},    // 1
    {"Setting", "spaced"},            // 2
    {"Setting", "quoted"},            // 3
    {"Setting", "single"},            // 4
    {"Setting", "mismatched"},        // 5
    {"Setting", "inline"},            // 6
    {"Setting", "#hash"},             // 7
    {"Setting", "dup"},               // 8
    {"Setting", "noequals"},          // 9
    {"Setting", "empty"},             // 10
    {"Setting", "eq"},                // 11
    {"Setting", "negative"},          // 12
    {"Setting", "plus"},              // 13
    {"Setting", "digitsThenText"},    // 14
    {"Setting", "text"},              // 15
    {"Setting", "hex"},               // 16
    {"Setting", "wrap"},              // 17
    {"Setting", "high"},              // 18
    {"Setting", "Tabbed"},            // 19
    {"Other", "k"},                   // 20
    {"Setting", "onlyInSecondCopy"},  // 21
    {"Setting", "missing"},           // 22
    {"Missing", "k"},                 // 23
    {" Setting ", " CurrentProfile "},// 24
};

class IniPlatformCompatTest : public ::testing::Test {
protected:
    TempFolder folder;
};

TEST_F(IniPlatformCompatTest, StringsAndIntegersReadAlike) {
    for (const char* lineEnd : {"\r\n", "\n", "\r"}) {
        std::string text = kAwkwardFile;
        for (std::size_t at = text.find("\r\n"); at != text.npos; at = text.find("\r\n", at + 1)) {
            text.replace(at, 2, lineEnd);
        }
        const std::string file = folder.File(std::string("awkward") + (lineEnd[1] ? "crlf" : lineEnd[0] == '\n' ? "lf" : "cr") + ".ini");
        WriteBytes(file, text);
        CIniFile ini(file);
        for (std::size_t i = 0; i < std::size(kSameReads); ++i) {
            const ReadCase& c = kSameReads[i];
            SCOPED_TRACE("row " + std::to_string(i) + " [" + c.section + "] " + c.key);
            EXPECT_EQ(ini.ReadString(c.section, c.key, kDefault), PlatformString(file, c.section, c.key));
            EXPECT_EQ(ini.ReadInt(c.section, c.key, -5), PlatformInt(file, c.section, c.key, -5));
            EXPECT_EQ(ini.ReadInt(c.section, c.key, 77), PlatformInt(file, c.section, c.key, 77));
        }
    }
}

TEST_F(IniPlatformCompatTest, MissingFileAndDefaultsReadAlike) {
    const std::string file = folder.File("absent.ini");
    CIniFile ini(file);
    EXPECT_EQ(ini.ReadString("Setting", "Name", "Profile 1"), PlatformString(file, "Setting", "Name", "Profile 1"));
    EXPECT_EQ(ini.ReadString("Setting", "Name", "trailing  "), PlatformString(file, "Setting", "Name", "trailing  "));
    EXPECT_EQ(ini.ReadString("Setting", "Name", ""), PlatformString(file, "Setting", "Name", ""));
    EXPECT_EQ(ini.ReadInt("Setting", "CurrentProfile", -1), PlatformInt(file, "Setting", "CurrentProfile", -1));
    EXPECT_EQ(ini.ReadInt("Setting", "CurrentProfile", -1), -1);
    EXPECT_EQ(GetFileAttributesA(file.c_str()), INVALID_FILE_ATTRIBUTES) << "reads never create the file";
}

TEST_F(IniPlatformCompatTest, LongStringsAreCutAlike) {
    const std::string file = folder.File("long.ini");
    const std::string value(3000, 'L');
    ASSERT_TRUE(WritePrivateProfileStringA("OSDData", "Message", value.c_str(), file.c_str()));
    CIniFile ini(file);
    EXPECT_EQ(ini.ReadString("OSDData", "Message", ""), std::string(2047, 'L'));
    EXPECT_EQ(PlatformString(file, "OSDData", "Message"), std::string(2047, 'L'));
}

TEST_F(IniPlatformCompatTest, WritesMakeTheSameBytesAsThePlatform) {
    struct Write {
        const char* section;
        const char* key;
        const char* value;
    };
    const Write writes[] = {
        {"App1", "key1", "string1"}, {"App1", "key2", "string2"}, {"App2", "key4", "string4"},
        {"App1", "key3", "string3"}, {"App3", "key5", "string5"}, {"app1", "KEY2", "changed"},
        {"App2", "empty", ""},       {"App2", "negative", "-1"},  {"App3", "high", "\xE9\xFF"},
        {"App3", "spaces", "a b"},
    };
    const std::string ours = folder.File("ours.ini");
    const std::string theirs = folder.File("theirs.ini");
    CIniFile ini(ours);
    for (const Write& w : writes) {
        ASSERT_TRUE(ini.WriteString(w.section, w.key, w.value));
        ASSERT_TRUE(WritePrivateProfileStringA(w.section, w.key, w.value, theirs.c_str()));
    }
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, theirs.c_str());  // flush the platform's cache
    EXPECT_EQ(ReadBytes(ours), ReadBytes(theirs));
}

TEST_F(IniPlatformCompatTest, EachReadsWhatTheOtherWrote) {
    const std::string byPlatform = folder.File("by-platform.ini");
    const std::string byUs = folder.File("by-us.ini");
    // Start both from a hand-written file with comments and odd spacing.
    const std::string start = "; keep me\r\n[Setting]\r\n  CurrentProfile = 1 \r\n\r\n[KeyMap]\r\nx=y\r\n";
    WriteBytes(byPlatform, start);
    WriteBytes(byUs, start);
    CIniFile ours(byUs);

    ASSERT_TRUE(WritePrivateProfileStringA("setting", "currentprofile", "4", byPlatform.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringA("Setting", "Device", "0", byPlatform.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringA("New", "Name", "Caf\xE9", byPlatform.c_str()));
    ASSERT_TRUE(ours.WriteInt("setting", "currentprofile", 4));
    ASSERT_TRUE(ours.WriteInt("Setting", "Device", 0));
    ASSERT_TRUE(ours.WriteString("New", "Name", "Caf\xE9"));
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, byPlatform.c_str());

    CIniFile readPlatformFile(byPlatform);
    for (const std::string& file : {byPlatform, byUs}) {
        CIniFile ini(file);
        SCOPED_TRACE(file);
        EXPECT_EQ(ini.ReadInt("Setting", "CurrentProfile", -1), 4);
        EXPECT_EQ(PlatformInt(file, "Setting", "CurrentProfile", -1), 4);
        EXPECT_EQ(ini.ReadInt("Setting", "Device", -1), 0);
        EXPECT_EQ(PlatformInt(file, "Setting", "Device", -1), 0);
        EXPECT_EQ(ini.ReadString("New", "Name", ""), "Caf\xE9");
        EXPECT_EQ(PlatformString(file, "New", "Name"), "Caf\xE9");
        EXPECT_EQ(ini.ReadString("KeyMap", "x", ""), "y");
        EXPECT_EQ(PlatformString(file, "KeyMap", "x"), "y");
    }
    // Ours leaves the comment, the blank line and the untouched lines byte for byte.
    EXPECT_EQ(ReadBytes(byUs),
              "; keep me\r\n[Setting]\r\nCurrentProfile=4\r\nDevice=0\r\n\r\n[KeyMap]\r\nx=y\r\n[New]\r\nName=Caf\xE9\r\n");
}

TEST_F(IniPlatformCompatTest, StructsCrossBothWays) {
    const std::string file = folder.File("structs.ini");
    std::array<std::uint8_t, 16> token{};
    for (std::size_t i = 0; i < token.size(); ++i) token[i] = static_cast<std::uint8_t>(0xF0 - 7 * i);
    std::array<std::uint8_t, 1936> macro{};
    for (std::size_t i = 0; i < macro.size(); ++i) macro[i] = static_cast<std::uint8_t>(i * 13);

    ASSERT_TRUE(WritePrivateProfileStructA("HidAccessCode", "Code", token.data(), token.size(), file.c_str()));
    CIniFile ini(file);
    ASSERT_TRUE(ini.WriteStruct("MacroKey", "Key0", macro.data(), macro.size()));

    std::array<std::uint8_t, 16> tokenRead{};
    EXPECT_TRUE(ini.ReadStruct("hidaccesscode", "CODE", tokenRead.data(), tokenRead.size()));
    EXPECT_EQ(tokenRead, token);
    std::array<std::uint8_t, 1936> macroRead{};
    EXPECT_TRUE(GetPrivateProfileStructA("MacroKey", "Key0", macroRead.data(), macroRead.size(), file.c_str()));
    EXPECT_EQ(macroRead, macro);
    // The text itself is the same: upper-case digits and the checksum.
    std::array<std::uint8_t, 7> abacus{'a', 'b', 'a', 'c', 'u', 's', 0};
    ASSERT_TRUE(ini.WriteStruct("s", "ours", abacus.data(), abacus.size()));
    ASSERT_TRUE(WritePrivateProfileStructA("s", "theirs", abacus.data(), abacus.size(), file.c_str()));
    EXPECT_EQ(PlatformString(file, "s", "ours"), "616261637573006F");
    EXPECT_EQ(PlatformString(file, "s", "theirs"), "616261637573006F");
}

TEST_F(IniPlatformCompatTest, DamagedStructsFailAlike) {
    const std::string file = folder.File("damaged.ini");
    WriteBytes(file,
               "[s]\r\n"
               "good=6361637475730083\r\n"
               "badsum=636163747573006F\r\n"
               "badhex=636163747573008Q\r\n"
               "long=63616374757300830\r\n"
               "short=636163747573008\r\n");
    CIniFile ini(file);
    struct Case {
        const char* key;
        std::size_t size;
    };
    const Case cases[] = {{"good", 7}, {"good", 6}, {"good", 8}, {"badsum", 7}, {"badhex", 7},
                          {"short", 7}, {"missing", 7}};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE("row " + std::to_string(i) + " " + cases[i].key);
        std::array<std::uint8_t, 8> ours;
        ours.fill(0xCC);
        std::array<std::uint8_t, 8> theirs{};
        const bool platformOk = GetPrivateProfileStructA("s", cases[i].key, theirs.data(), cases[i].size, file.c_str()) != 0;
        EXPECT_EQ(ini.ReadStruct("s", cases[i].key, ours.data(), cases[i].size), platformOk);
        if (!platformOk) {
            for (std::uint8_t b : ours) EXPECT_EQ(b, 0xCC) << "a failed read must not touch the destination";
        }
    }
}

// --- Where we follow Windows, not Wine -------------------------------------------------

TEST_F(IniPlatformCompatTest, DiffersFromWine_OverlongStructIsRefused) {
    // Windows answers ERROR_BAD_LENGTH; Wine cuts the text to length and accepts it.
    const std::string file = folder.File("overlong.ini");
    WriteBytes(file, "[s]\r\nlong=63616374757300830\r\n");
    CIniFile ini(file);
    std::array<std::uint8_t, 7> ours{};
    EXPECT_FALSE(ini.ReadStruct("s", "long", ours.data(), ours.size()));
    std::array<std::uint8_t, 7> theirs{};
    std::printf("  Wine: one digit too many -> %s\n",
                GetPrivateProfileStructA("s", "long", theirs.data(), theirs.size(), file.c_str()) ? "accepted" : "refused");
}

TEST_F(IniPlatformCompatTest, DiffersFromWine_SectionNameEndsAtTheFirstBracket) {
    const std::string file = folder.File("brackets.ini");
    WriteBytes(file, "[a]b]\r\nk=1\r\n");
    CIniFile ini(file);
    EXPECT_EQ(ini.ReadString("a", "k", kDefault), "1");
    std::printf("  Wine reads [a]b] as section \"a]b\": [a] k -> %s\n", PlatformString(file, "a", "k").c_str());
}

TEST_F(IniPlatformCompatTest, DiffersFromWine_HeaderWithoutBracketIsASection) {
    const std::string file = folder.File("open.ini");
    WriteBytes(file, "[Open\r\nk=1\r\n");
    CIniFile ini(file);
    EXPECT_EQ(ini.ReadString("Open", "k", kDefault), "1");
    std::printf("  Wine: [Open k -> %s\n", PlatformString(file, "Open", "k").c_str());
}

TEST_F(IniPlatformCompatTest, DiffersFromWine_CommentLinesAreNeverKeys) {
    const std::string file = folder.File("comment.ini");
    WriteBytes(file, "[s]\r\n;hidden=1\r\n");
    CIniFile ini(file);
    EXPECT_EQ(ini.ReadString("s", ";hidden", kDefault), kDefault);
    std::printf("  Wine: [s] ;hidden -> %s\n", PlatformString(file, "s", ";hidden").c_str());
}

TEST_F(IniPlatformCompatTest, DiffersFromWine_OnlySpacesAroundArgumentsAreIgnored) {
    const std::string file = folder.File("tabs.ini");
    WriteBytes(file, "[s]\r\nk=1\r\n");
    CIniFile ini(file);
    EXPECT_EQ(ini.ReadString(" s ", " k ", kDefault), "1");
    EXPECT_EQ(ini.ReadString("s", "\tk", kDefault), kDefault);
    std::printf("  Wine: [s] <tab>k -> %s\n", PlatformString(file, "s", "\tk").c_str());
}

// --- Where we differ from both on purpose ------------------------------------------------

TEST_F(IniPlatformCompatTest, OnPurpose_LineBreaksInValuesAreRefusedNotInjected) {
    const std::string file = folder.File("inject.ini");
    CIniFile ini(file);
    EXPECT_FALSE(ini.WriteString("OSDData", "Message", "x\r\n[Setting]\r\nCurrentProfile=4"));
    EXPECT_EQ(GetFileAttributesA(file.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(PlatformInt(file, "Setting", "CurrentProfile", -1), -1);
}

TEST_F(IniPlatformCompatTest, OnPurpose_SavesReplaceTheFileWhole) {
    const std::string file = folder.File("atomic.ini");
    CIniFile ini(file);
    ini.BeginBatch();
    for (int i = 0; i < 100; ++i) ASSERT_TRUE(ini.WriteInt("Keys", "K" + std::to_string(i), i));
    ASSERT_TRUE(ini.EndBatch());
    EXPECT_EQ(PlatformInt(file, "Keys", "K99", -1), 99);
    // No temporary file is left behind.
    WIN32_FIND_DATAA found;
    int files = 0;
    const HANDLE search = FindFirstFileA((folder.Path() + "*.tmp").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do ++files;
        while (FindNextFileA(search, &found));
        FindClose(search);
    }
    EXPECT_EQ(files, 0);
}

TEST_F(IniPlatformCompatTest, AWriteCreatesAFileButNotAFolder) {
    const std::string inMissingFolder = folder.File("no-such-folder\\config.ini");
    CIniFile ini(inMissingFolder);
    EXPECT_FALSE(ini.WriteInt("Setting", "Device", 1));
    EXPECT_FALSE(WritePrivateProfileStringA("Setting", "Device", "1", inMissingFolder.c_str()));
    EXPECT_EQ(GetFileAttributesA(folder.File("no-such-folder").c_str()), INVALID_FILE_ATTRIBUTES);

    const std::string fresh = folder.File("fresh.ini");
    CIniFile created(fresh);
    EXPECT_TRUE(created.WriteInt("Setting", "Device", 1));
    EXPECT_EQ(ReadBytes(fresh), "[Setting]\r\nDevice=1\r\n");
}

TEST(ProgramFolderWin32Test, IsTheFolderOfThisExecutable) {
    char path[MAX_PATH + 1] = {};
    ASSERT_GT(GetModuleFileNameA(nullptr, path, MAX_PATH), 0u);
    const std::string folder = ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '\\');
    EXPECT_EQ(std::string(path).rfind(folder, 0), 0u);
    EXPECT_EQ(std::string(path).find('\\', folder.size()), std::string::npos);
    EXPECT_EQ(ConfigIniPath(), folder + "config.ini");
}

}  // namespace
}  // namespace brenik::ini
