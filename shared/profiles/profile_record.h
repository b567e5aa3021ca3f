#pragma once
// The settings of one profile, byte for byte as they travel in the shared state block to the
// settings program and, field by field, to the keyboard. Every field sits at its natural
// alignment, so the plain struct already has the shared layout; the static_asserts below pin
// every offset, and a change that moves one does not compile.

#include <cstddef>
#include <cstdint>

namespace brenik {

constexpr int kProfileCount = 5;
constexpr int kKeyEntryCount = 44;      // assignable keys, numbered 1..44 in keyboard events
// Keys 0..41 have change flags and programmable functions on the keyboard; entries 42 and 43
// exist in the record only.
constexpr int kProgrammableKeys = 42;
constexpr int kStandardKeyCount = 97;
constexpr int kMaxMacroActions = 400;
constexpr std::size_t kKeyEntryNameBytes = 32;
constexpr std::size_t kProgramPathBytes = 260;

// What a key does (FunctionType). The keyboard's key-function records carry the same codes,
// so the device protocol uses these too; it knows more codes than these.
constexpr std::uint8_t kFunctionStandard = 0x20;
constexpr std::uint8_t kFunctionSingleKey = 0xB8;
constexpr std::uint8_t kFunctionLaunchProgram = 0xB9;
constexpr std::uint8_t kFunctionLaunchEntry = 0xBC;
constexpr std::uint8_t kFunctionMacro = 0xBE;

// One recorded action: key code, event type (1 press, 2 release), delay in milliseconds.
struct MacroAction {
    std::uint8_t KeyCode;
    std::uint8_t EventType;
    std::uint16_t DelayMs;
};

// The function assigned to one key.
struct MacroKeyInfo {
    std::uint8_t KeyIndex;
    std::uint8_t FunctionType;
    char EntryName[kKeyEntryNameBytes];
    char MacroName[kKeyEntryNameBytes];
    std::uint16_t ActionCount;
    std::uint8_t MacroOption;
    std::uint8_t Reserved[3];
    MacroAction Actions[kMaxMacroActions];
    std::uint32_t LaunchValue;
    char ProgramPath[kProgramPathBytes];
};

struct ProfileRecord {
    char ProFileName[250];
    char GameFile[500];
    char PictureFile[500];
    std::uint8_t Alignment1[2];
    std::int32_t MediaOption;
    std::int32_t HDDKeyboard;
    std::int32_t ExtendedMode;
    std::int32_t LtOption;
    std::int32_t LtColor;
    std::int32_t LtControl;
    std::int32_t LtSaving;
    std::int32_t LtTimeout;
    std::int32_t ColorSettingType;
    std::int32_t LightEffectType;
    std::int32_t ExtendedLayerEffectType;
    std::int32_t LightColorFlow;
    std::int32_t KeyLightType;
    std::int32_t LtColorRed;
    std::int32_t LtColorGreen;
    std::int32_t LtColorBlue;
    std::int32_t LogoOption;
    std::int32_t LogoColorRed;
    std::int32_t LogoColorGreen;
    std::int32_t LogoColorBlue;
    std::int32_t LogoLightCtl;
    std::int32_t LogoLightFLow;
    std::int32_t LogoLightSpeed;
    std::int32_t MacroLiveRecordSound;
    std::int32_t ProfileSwitchSound;
    std::int32_t LayerSwitchSound;
    std::int32_t CountdownTimerSound;
    std::int32_t KeyboardDelay;
    std::int32_t KeyboardSpeed;
    std::int32_t LeftWin;
    std::int32_t RightWin;
    std::int32_t App;
    std::int32_t CapsLock;
    std::int32_t Tab;
    std::int32_t LeftShift;
    std::uint8_t standardkey[kStandardKeyCount];
    std::uint8_t Alignment2[3];
    brenik::MacroKeyInfo MacroKeyInfo[kKeyEntryCount];
    std::int32_t FnStatus;
};

static_assert(sizeof(MacroAction) == 4);
static_assert(offsetof(MacroKeyInfo, KeyIndex) == 0);
static_assert(offsetof(MacroKeyInfo, FunctionType) == 1);
static_assert(offsetof(MacroKeyInfo, EntryName) == 2);
static_assert(offsetof(MacroKeyInfo, MacroName) == 34);
static_assert(offsetof(MacroKeyInfo, ActionCount) == 66);
static_assert(offsetof(MacroKeyInfo, MacroOption) == 68);
static_assert(offsetof(MacroKeyInfo, Actions) == 72);
static_assert(offsetof(MacroKeyInfo, LaunchValue) == 1672);
static_assert(offsetof(MacroKeyInfo, ProgramPath) == 1676);
static_assert(sizeof(MacroKeyInfo) == 1936);

static_assert(offsetof(ProfileRecord, ProFileName) == 0);
static_assert(offsetof(ProfileRecord, GameFile) == 250);
static_assert(offsetof(ProfileRecord, PictureFile) == 750);
static_assert(offsetof(ProfileRecord, MediaOption) == 1252);
static_assert(offsetof(ProfileRecord, HDDKeyboard) == 1256);
static_assert(offsetof(ProfileRecord, ExtendedMode) == 1260);
static_assert(offsetof(ProfileRecord, LtOption) == 1264);
static_assert(offsetof(ProfileRecord, LtColor) == 1268);
static_assert(offsetof(ProfileRecord, LtControl) == 1272);
static_assert(offsetof(ProfileRecord, LtSaving) == 1276);
static_assert(offsetof(ProfileRecord, LtTimeout) == 1280);
static_assert(offsetof(ProfileRecord, ColorSettingType) == 1284);
static_assert(offsetof(ProfileRecord, LightEffectType) == 1288);
static_assert(offsetof(ProfileRecord, ExtendedLayerEffectType) == 1292);
static_assert(offsetof(ProfileRecord, LightColorFlow) == 1296);
static_assert(offsetof(ProfileRecord, KeyLightType) == 1300);
static_assert(offsetof(ProfileRecord, LtColorRed) == 1304);
static_assert(offsetof(ProfileRecord, LtColorGreen) == 1308);
static_assert(offsetof(ProfileRecord, LtColorBlue) == 1312);
static_assert(offsetof(ProfileRecord, LogoOption) == 1316);
static_assert(offsetof(ProfileRecord, LogoColorRed) == 1320);
static_assert(offsetof(ProfileRecord, LogoColorGreen) == 1324);
static_assert(offsetof(ProfileRecord, LogoColorBlue) == 1328);
static_assert(offsetof(ProfileRecord, LogoLightCtl) == 1332);
static_assert(offsetof(ProfileRecord, LogoLightFLow) == 1336);
static_assert(offsetof(ProfileRecord, LogoLightSpeed) == 1340);
static_assert(offsetof(ProfileRecord, MacroLiveRecordSound) == 1344);
static_assert(offsetof(ProfileRecord, ProfileSwitchSound) == 1348);
static_assert(offsetof(ProfileRecord, LayerSwitchSound) == 1352);
static_assert(offsetof(ProfileRecord, CountdownTimerSound) == 1356);
static_assert(offsetof(ProfileRecord, KeyboardDelay) == 1360);
static_assert(offsetof(ProfileRecord, KeyboardSpeed) == 1364);
static_assert(offsetof(ProfileRecord, LeftWin) == 1368);
static_assert(offsetof(ProfileRecord, RightWin) == 1372);
static_assert(offsetof(ProfileRecord, App) == 1376);
static_assert(offsetof(ProfileRecord, CapsLock) == 1380);
static_assert(offsetof(ProfileRecord, Tab) == 1384);
static_assert(offsetof(ProfileRecord, LeftShift) == 1388);
static_assert(offsetof(ProfileRecord, standardkey) == 1392);
static_assert(offsetof(ProfileRecord, MacroKeyInfo) == 1492);
static_assert(offsetof(ProfileRecord, FnStatus) == 86676);
static_assert(sizeof(ProfileRecord) == 86680);

}  // namespace brenik
