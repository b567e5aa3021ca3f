// The report layouts, one by one, against the examples of the protocol.

#include "report_checksum.h"
#include "report_codec.h"

#include "profile_store.h"
#include "report_fields.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <iterator>
#include <memory>
#include <vector>

namespace brenik::monitor::device {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::unique_ptr<ProfileRecord> DefaultRecord() {
    auto record = std::make_unique<ProfileRecord>();
    std::memset(record.get(), 0, sizeof *record);
    SetDefaultProfile(*record, 0);
    return record;
}

TEST(ReportChecksum, SumsEveryByteBeforeTheLastTwo) {
    Bytes report(kMacroLength, 0);
    report[0] = 20;
    report[1] = 0x8A;
    report[2] = 0x06;
    report[3] = 2;
    report[4] = 5;
    StoreChecksum(report.data(), report.size());
    EXPECT_EQ(report[1672], 0xAB);
    EXPECT_EQ(report[1673], 0x00);
    EXPECT_TRUE(ChecksumMatches(report.data(), report.size()));
    report[100] = 1;
    EXPECT_FALSE(ChecksumMatches(report.data(), report.size()));
}

TEST(ReportChecksum, WrapsAtSixteenBits) {
    Bytes report(300, 0xFF);
    EXPECT_EQ(ReportChecksum(report.data(), report.size()), static_cast<std::uint16_t>(298 * 255));
    EXPECT_EQ(ReportChecksum(report.data(), 2), 0);
}

TEST(KeyBlockCodec, DefaultEntriesTravelAsEachKeysDefaultCode) {
    auto record = DefaultRecord();
    for (auto& entry : record->MacroKeyInfo) entry.FunctionType = kFunctionStandard;
    Bytes report(kKeyBlockALength, 0);
    EncodeKeyBlock(kKeyBlockA, *record, 3, report.data());
    EXPECT_EQ(report[0], 8);
    EXPECT_EQ(report[1], 48);
    EXPECT_EQ(report[2], 3);
    for (int j = 0; j < 12; ++j) {
        EXPECT_EQ(report[12 + 3 * j], 58 + j) << "key " << j;
        EXPECT_EQ(report[13 + 3 * j], 0) << "key " << j;
    }
    struct Row { const KeyBlockLayout* block; std::size_t first; std::uint8_t code; };
    const Row rows[] = {{&kKeyBlockB, 10, 0x1E}, {&kKeyBlockC, 3, 0x1E}};
    for (const Row& row : rows) {
        Bytes other(row.block->length, 0);
        EncodeKeyBlock(*row.block, *record, 0, other.data());
        EXPECT_EQ(other[row.first], row.code) << "report " << int(row.block->reportId);
        EXPECT_EQ(other[row.first + 3 * (row.block->keyCount - 1)], row.code + row.block->keyCount - 1);
    }
}

TEST(KeyBlockCodec, CombinationCarriesModifierThenKeyCode) {
    auto record = DefaultRecord();
    MacroKeyInfo& entry = record->MacroKeyInfo[2];
    entry.FunctionType = kFunctionSingleKey;
    entry.Actions[0].KeyCode = 0x04;
    entry.Actions[0].EventType = 0x05;
    record->MacroKeyInfo[3].FunctionType = 0x77;  // passed through
    Bytes report(kKeyBlockALength, 0);
    EncodeKeyBlock(kKeyBlockA, *record, 0, report.data());
    EXPECT_EQ((Bytes{report[18], report[19], report[20]}), (Bytes{0xB8, 0x05, 0x04}));
    EXPECT_EQ((Bytes{report[21], report[22], report[23]}), (Bytes{0x77, 0, 0}));
}

TEST(KeyBlockCodec, ReadsDefaultRangeAsDefaultAndCombinationIntoFirstAction) {
    auto record = DefaultRecord();
    record->MacroKeyInfo[6].ActionCount = 9;
    Bytes reply(kKeyBlockALength, 0);
    for (int j = 0; j < 12; ++j) reply[12 + 3 * j] = 0x99;
    reply[12 + 3 * 5] = 0x3F;
    reply[12 + 3 * 6] = 0xB8;
    reply[13 + 3 * 6] = 0x05;
    reply[14 + 3 * 6] = 0x04;
    DecodeKeyBlock(kKeyBlockA, reply.data(), *record);
    EXPECT_EQ(record->MacroKeyInfo[5].FunctionType, 0x20);
    EXPECT_EQ(record->MacroKeyInfo[4].FunctionType, 0x99);
    EXPECT_EQ(record->MacroKeyInfo[6].FunctionType, 0xB8);
    EXPECT_EQ(record->MacroKeyInfo[6].ActionCount, 1);
    EXPECT_EQ(record->MacroKeyInfo[6].Actions[0].KeyCode, 0x04);
    EXPECT_EQ(record->MacroKeyInfo[6].Actions[0].EventType, 0x05);
    // Block C's range is 0x1E..0x22: 0x23 is not a default there.
    Bytes c(kKeyBlockCLength, 0);
    c[3] = 0x22;
    c[6] = 0x23;
    DecodeKeyBlock(kKeyBlockC, c.data(), *record);
    EXPECT_EQ(record->MacroKeyInfo[37].FunctionType, 0x20);
    EXPECT_EQ(record->MacroKeyInfo[38].FunctionType, 0x23);
}

TEST(LockKeysCodec, EachFieldItsBitAndOnlyExactlyOneCounts) {
    auto record = DefaultRecord();
    record->Tab = 1;
    record->CapsLock = 2;  // not exactly 1
    record->LeftWin = 0;
    record->RightWin = 1;
    record->App = -1;
    record->LeftShift = 1;
    Bytes report(kLockKeysLength, 0);
    EncodeLockKeys(*record, 4, report.data());
    EXPECT_EQ(report, (Bytes{7, 4, 4, 0x01 | 0x08 | 0x20}));
    Bytes reply = {7, 4, 0, 0x02 | 0x04 | 0x10 | 0xC0};
    DecodeLockKeys(reply.data(), *record);
    EXPECT_EQ((std::vector<int>{record->Tab, record->CapsLock, record->LeftWin, record->RightWin, record->App,
                                record->LeftShift}),
              (std::vector<int>{0, 1, 1, 0, 1, 0}));
}

TEST(StandardKeysCodec, DefaultMatrixUnderThePositionedKeys) {
    auto record = DefaultRecord();
    for (int i = 0; i < kStandardKeyCount; ++i) record->standardkey[i] = static_cast<std::uint8_t>(i + 1);
    Bytes report(kStandardKeysLength, 0);
    EncodeStandardKeys(*record, 1, report.data());
    EXPECT_EQ((Bytes{report[0], report[1], report[2]}), (Bytes{6, 152, 1}));
    EXPECT_EQ(report[8 + 9], 1);     // P(0) = 9
    EXPECT_EQ(report[8 + 136], 97);  // P(96) = 136
    EXPECT_EQ(report[8 + 1], 160);   // no key there: the default matrix
    EXPECT_EQ(report[8 + 14 * 8 + 4], 49);
    // Read back: positioned keys change, key 13 (no position) keeps its value.
    record->standardkey[13] = 0x55;
    Bytes reply(kStandardKeysLength, 0x42);
    DecodeStandardKeys(reply.data(), *record);
    EXPECT_EQ(record->standardkey[0], 0x42);
    EXPECT_EQ(record->standardkey[13], 0x55);
    EXPECT_EQ(record->standardkey[80], 81);
}

TEST(LightingCodec, FixedBytesAndFieldBytes) {
    auto record = DefaultRecord();
    record->LtOption = 7;
    record->LtColorRed = 0x1FF;  // low byte only
    record->LogoLightSpeed = 9;
    record->LightEffectType = 5;
    record->KeyLightType = 1;
    Bytes report(kLightingLength, 0);
    EncodeLighting(*record, 2, report.data());
    EXPECT_EQ((Bytes{report[0], report[1], report[2], report[3], report[4], report[5]}), (Bytes{11, 32, 2, 1, 2, 1}));
    EXPECT_EQ(report[6], 0xFF);
    EXPECT_EQ(report[14], 2);
    EXPECT_EQ(report[21], 2);
    EXPECT_EQ(report[28], 5);
    EXPECT_EQ((Bytes(report.begin() + 22, report.begin() + 28)), (Bytes{0, 1, 0, 0, 0, 0}));
    report[3] = 4;
    report[21] = 3;
    DecodeLighting(report.data(), *record);
    EXPECT_EQ(record->LtOption, 4);
    EXPECT_EQ(record->LogoLightSpeed, 3);
    EXPECT_EQ(record->LtColorRed, 0xFF);
    EXPECT_EQ(record->KeyLightType, 1);
}

TEST(LightingCodec, KeyLightTypeOnTheWireAndBack) {
    struct Row { int value; Bytes flags; int readBack; };
    const Row rows[] = {
        {1, {0, 1, 0, 0, 0, 0}, 1}, {2, {0, 0, 1, 0, 0, 0}, 2}, {3, {1, 0, 1, 0, 0, 0}, 3},
        {4, {0, 0, 0, 0, 0, 0}, 2}, {0, {1, 1, 1, 1, 1, 1}, 0}, {9, {1, 1, 1, 1, 1, 1}, 0},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        Bytes flags(6, 7);
        EncodeKeyLightType(rows[i].value, flags.data());
        EXPECT_EQ(flags, rows[i].flags) << "row " << i;
        EXPECT_EQ(DecodeKeyLightType(flags.data()), rows[i].readBack) << "row " << i;
    }
    const Bytes odd = {2, 0, 0, 0};  // not 0 and not 1 anywhere: falls to 0
    EXPECT_EQ(DecodeKeyLightType(odd.data()), 0);
}

TEST(MacroCodec, EmptyMacroCarriesHeaderAndChecksumOnly) {
    auto record = DefaultRecord();
    MacroKeyInfo& entry = record->MacroKeyInfo[5];
    entry.FunctionType = kFunctionMacro;
    entry.ActionCount = 0;
    std::strcpy(entry.MacroName, "ignored");
    Bytes report(kMacroLength, 0);
    ASSERT_TRUE(EncodeMacro(entry, 2, 5, report.data()));
    for (std::size_t i = 5; i < 1672; ++i) ASSERT_EQ(report[i], 0) << "byte " << i;
    EXPECT_EQ(report[1672], 0xAB);
    EXPECT_EQ(report[1673], 0x00);
}

TEST(MacroCodec, NamesTravelPaddedWithSpacesAndComeBackCutTo31) {
    auto record = DefaultRecord();
    MacroKeyInfo& entry = record->MacroKeyInfo[1];
    entry.FunctionType = kFunctionMacro;
    entry.MacroOption = 2;
    std::memcpy(entry.MacroName, "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345", 32);  // 32 characters, no terminator
    std::strcpy(entry.EntryName, "Run");
    entry.ActionCount = 2;
    entry.Actions[0] = {0x04, 1, 10};
    entry.Actions[1] = {0x04, 2, 300};
    entry.Actions[2] = {0x09, 1, 5};  // beyond the count: not sent
    Bytes report(kMacroLength, 0);
    ASSERT_TRUE(EncodeMacro(entry, 0, 1, report.data()));
    EXPECT_EQ(std::string(report.begin() + 6, report.begin() + 38), "Run" + std::string(29, ' '));
    EXPECT_EQ(std::string(report.begin() + 38, report.begin() + 70), "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345");
    EXPECT_EQ((Bytes{report[5], report[70], report[71]}), (Bytes{2, 2, 0}));
    EXPECT_EQ((Bytes(report.begin() + 72, report.begin() + 80)), (Bytes{0x04, 1, 10, 0, 0x04, 2, 0x2C, 0x01}));
    EXPECT_EQ(report[80], 0);
    EXPECT_TRUE(ChecksumMatches(report.data(), report.size()));

    MacroKeyInfo back{};
    back.Actions[5].KeyCode = 0x33;  // cleared by the read
    ASSERT_TRUE(DecodeMacro(report.data(), back));
    EXPECT_STREQ(back.MacroName, "ABCDEFGHIJKLMNOPQRSTUVWXYZ01234");
    EXPECT_STREQ(back.EntryName, "Run");
    EXPECT_EQ(back.KeyIndex, 1);
    EXPECT_EQ(back.FunctionType, kFunctionMacro);
    EXPECT_EQ(back.ActionCount, 2);
    EXPECT_EQ(back.Actions[1].DelayMs, 300);
    EXPECT_EQ(back.Actions[5].KeyCode, 0);
}

TEST(MacroCodec, MoreThan400ActionsRefusedBothWays) {
    auto record = DefaultRecord();
    MacroKeyInfo& entry = record->MacroKeyInfo[0];
    entry.FunctionType = kFunctionMacro;
    entry.ActionCount = 401;
    Bytes report(kMacroLength, 0);
    EXPECT_FALSE(EncodeMacro(entry, 0, 0, report.data()));
    entry.ActionCount = 400;
    ASSERT_TRUE(EncodeMacro(entry, 0, 0, report.data()));
    report[70] = 0x91;  // 401
    report[71] = 0x01;
    MacroKeyInfo untouched{};
    std::strcpy(untouched.MacroName, "keep");
    EXPECT_FALSE(DecodeMacro(report.data(), untouched));
    EXPECT_STREQ(untouched.MacroName, "keep");
    EXPECT_EQ(untouched.FunctionType, 0);
}

TEST(LaunchCodec, NameZeroPaddedValueLittleEndian) {
    auto record = DefaultRecord();
    MacroKeyInfo& entry = record->MacroKeyInfo[7];
    entry.FunctionType = kFunctionLaunchEntry;
    std::strcpy(entry.MacroName, "calc   ");
    entry.LaunchValue = 0x01020304;
    Bytes report(kLaunchLength, 0);
    EncodeLaunch(entry, 1, 7, report.data());
    EXPECT_EQ((Bytes{report[0], report[1], report[2], report[3]}), (Bytes{74, 40, 1, 216}));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(&report[4])), "calc   ");
    EXPECT_EQ(report[11], 0);
    EXPECT_EQ((Bytes(report.begin() + 36, report.end())), (Bytes{4, 3, 2, 1}));
    MacroKeyInfo back{};
    DecodeLaunch(report.data(), back);
    EXPECT_STREQ(back.MacroName, "calc");
    EXPECT_EQ(back.KeyIndex, 7);
    EXPECT_EQ(back.FunctionType, kFunctionLaunchEntry);
    EXPECT_EQ(back.LaunchValue, 0x01020304u);
}

TEST(VolumeCodec, LevelsAndRange) {
    struct Row { int volume; int level; };
    const Row rows[] = {{0, 0}, {1, 1}, {14, 1}, {15, 2}, {28, 2}, {29, 3}, {56, 4}, {57, 5}, {84, 6}, {85, 7}, {100, 7}};
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        Bytes report(kVolumeLength, 0xEE);
        ASSERT_TRUE(EncodeVolume(3, rows[i].volume, report.data())) << "row " << i;
        EXPECT_EQ(report, (Bytes{18, 8, 3, 0, 0, 0, std::uint8_t(rows[i].level), std::uint8_t(rows[i].volume)}))
            << "row " << i;
    }
    Bytes report(kVolumeLength, 0);
    EXPECT_FALSE(EncodeVolume(0, 101, report.data()));
    EXPECT_FALSE(EncodeVolume(0, -1, report.data()));
}

TEST(SyncTokenCodec, SecondsLittleEndianRestZero) {
    const SyncToken token = MakeSyncToken(0x6B49D200);
    EXPECT_EQ(token, (SyncToken{0x00, 0xD2, 0x49, 0x6B}));
}

// The integer fields run from MediaOption to LeftShift, plus FnStatus. Each listed field must
// change its own report and not the other; every other integer field must change neither,
// so a field added to the codec but not to report_fields.h (or the other way round) fails.
TEST(ReportFieldLists, NameExactlyTheIntegerFieldsTheLightingAndLockReportsCarry) {
    auto record = DefaultRecord();
    const auto encode = [](const ProfileRecord& r) {
        Bytes lighting(kLightingLength, 0), locks(kLockKeysLength, 0);
        EncodeLighting(r, 0, lighting.data());
        EncodeLockKeys(r, 0, locks.data());
        return std::make_pair(lighting, locks);
    };
    const auto base = encode(*record);
    const auto offsetOf = [&](ProfileIntField field) {
        return static_cast<std::size_t>(reinterpret_cast<const char*>(&(record.get()->*field)) -
                                        reinterpret_cast<const char*>(record.get()));
    };
    std::vector<std::size_t> offsets;
    for (std::size_t at = offsetof(ProfileRecord, MediaOption); at <= offsetof(ProfileRecord, LeftShift); at += 4) {
        offsets.push_back(at);
    }
    offsets.push_back(offsetof(ProfileRecord, FnStatus));
    int lightingSeen = 0, locksSeen = 0;
    for (const std::size_t at : offsets) {
        bool inLighting = false, inLocks = false;
        for (const ProfileIntField field : kLightingReportFields) inLighting = inLighting || offsetOf(field) == at;
        for (const ProfileIntField field : kLockedKeyReportFields) inLocks = inLocks || offsetOf(field) == at;
        lightingSeen += inLighting;
        locksSeen += inLocks;
        bool lightingChanged = false, locksChanged = false;
        for (const std::int32_t flip : {1, 2, 3}) {  // KeyLightType encodes some values alike
            auto changed = std::make_unique<ProfileRecord>(*record);
            std::int32_t value = 0;
            std::memcpy(&value, reinterpret_cast<const char*>(changed.get()) + at, sizeof value);
            value ^= flip;
            std::memcpy(reinterpret_cast<char*>(changed.get()) + at, &value, sizeof value);
            const auto now = encode(*changed);
            lightingChanged = lightingChanged || now.first != base.first;
            locksChanged = locksChanged || now.second != base.second;
        }
        EXPECT_EQ(lightingChanged, inLighting) << "field at offset " << at;
        EXPECT_EQ(locksChanged, inLocks) << "field at offset " << at;
    }
    EXPECT_EQ(lightingSeen, static_cast<int>(std::size(kLightingReportFields))) << "every listed field is an integer field";
    EXPECT_EQ(locksSeen, static_cast<int>(std::size(kLockedKeyReportFields)));
}

}  // namespace
}  // namespace brenik::monitor::device
