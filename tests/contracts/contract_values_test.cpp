// The values the programs agree on, each written out here as the other side knows it. The
// headers are the code's single source; this table is the other programs' memory of them, so
// a value changed in a header (a title, a number, a key) fails here and not at a customer's.

#include "config_ini_keys.h"
#include "kbhid_api.h"
#include "monitor_inbox.h"
#include "osd_settings_record.h"
#include "peer_messages.h"
#include "profile_store.h"
#include "program_windows.h"
#include "text_message_block.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string>

namespace brenik {
namespace {

struct TextRow {
    const char* name;
    const char* value;     // the header's
    const char* expected;  // what the other programs use
};

struct NumberRow {
    const char* name;
    std::uint64_t value;
    std::uint64_t expected;
};

#define BRENIK_ROW(constant, literal) \
    { #constant, constant, literal }

template <class Row, std::size_t N>
void ExpectRows(const Row (&rows)[N]) {
    for (const Row& row : rows) EXPECT_EQ(row.value, row.expected) << row.name;
}

template <std::size_t N>
void ExpectTextRows(const TextRow (&rows)[N]) {
    for (const TextRow& row : rows) EXPECT_EQ(std::string(row.value), std::string(row.expected)) << row.name;
}

// ---- program_windows.h: how the programs find each other.
const TextRow kProgramNames[] = {
    BRENIK_ROW(kTitleMonitor, "BrenikGamingKeyboardMonitor"),
    BRENIK_ROW(kTitleMonitorEarlier, "TorvaneGamingKeyboardMonitor"),
    BRENIK_ROW(kTitleSettings, "Brenik Gaming Keyboard Option"),
    BRENIK_ROW(kTitleOsd, "Brenik_Gaming_Keyboard_OSD"),
    BRENIK_ROW(kTitleVolumeController, "Brenik Volume Controller"),
    BRENIK_ROW(kTitlePopup, "Brenik Gaming Keyboard Pop3"),
    BRENIK_ROW(kTitleSystemGauge, "Brenik Gaming Keyboard CPU RAM OSD"),
    BRENIK_ROW(kTitleCallDisplay, "Brenik Gaming Keyboard OSD SKYPE"),
    BRENIK_ROW(kProgramSettings, "Brenik Option.exe"),
    BRENIK_ROW(kProgramOsd, "Brenik OSD.exe"),
    BRENIK_ROW(kProgramVolumeBar, "Applets\\VolumeBar.exe"),
    BRENIK_ROW(kProgramSystemGauge, "Applets\\SysGauge.exe"),
    BRENIK_ROW(kProgramCallDisplay, "Applets\\CallOsd.exe"),
    BRENIK_ROW(kMonitorInstanceMutex, "Brenik_Gaming_Keyboard_Monitor"),
    BRENIK_ROW(kOsdInstanceMutex, "Brenik_Gaming_Keyboard_OSD_Instance"),
    BRENIK_ROW(kVolumeBarInstanceMutex, "Brenik_Gaming_Keyboard_Volume_Controller_Instance"),
    BRENIK_ROW(kSystemGaugeInstanceMutex, "Brenik_Gaming_Keyboard_System_Gauge_Instance"),
    BRENIK_ROW(kUpdaterInstanceMutex, "Quelm_Gaming_Keyboard_Firmware_Update"),
    BRENIK_ROW(kSharedBlockName, "Brenik_Gaming_Keyboard_Share_Data"),
    BRENIK_ROW(kSharedBlockLockName, "Brenik_Gaming_Keyboard_Mutex_Object"),
    BRENIK_ROW(kSettingsToolMutex, "Brenik_Gaming_Keyboard_Settings_Tool"),
    BRENIK_ROW(kSettingsInstanceMutex, "Brenik_Gaming_Keyboard_Option_Instance"),
    BRENIK_ROW(kConfigFileName, "config.ini"),
    BRENIK_ROW(kProgramMonitor, "Monitor.exe"),
};

// ---- config_ini_keys.h, and the profile store's keys other programs read.
const TextRow kConfigKeys[] = {
    BRENIK_ROW(kConfigSettingSection, "Setting"),
    BRENIK_ROW(kConfigDeviceKey, "Device"),
    BRENIK_ROW(kConfigFirmwareVersionKey, "FWVersion"),
    BRENIK_ROW(kOsdSettingsSection, "OSDSetting"),
    BRENIK_ROW(kOsdSettingsKey, "config"),
    BRENIK_ROW(kMacroOsdSection, "MacroOSD"),
    BRENIK_ROW(kMacroOsdNumberKey, "Number"),
    BRENIK_ROW(kMacroOsdNameKey, "MacroName"),
    BRENIK_ROW(kOsdTextSection, "OSDData"),
    BRENIK_ROW(kOsdTextKey, "Message"),
    BRENIK_ROW(kCurrentProfileKey, "CurrentProfile"),
    BRENIK_ROW(kProfileSection, "Setting"),
};

// ---- monitor_inbox.h, and what kbhid.dll's device change carries.
const NumberRow kInbox[] = {
    BRENIK_ROW(kMsgKeyEvent, 1325),
    BRENIK_ROW(kMsgDeviceChange, 1326),
    BRENIK_ROW(hid::kDeviceArrived, 1),
    BRENIK_ROW(hid::kDeviceRemoved, 0),
    BRENIK_ROW(kMsgSettingsChanged, 1224),
    BRENIK_ROW(kMsgRereadShared1, 1226),
    BRENIK_ROW(kMsgRereadShared2, 1227),
    BRENIK_ROW(kMsgNoAction1, 1228),
    BRENIK_ROW(kMsgNoAction2, 1229),
    BRENIK_ROW(kMsgNoAction3, 1274),
    BRENIK_ROW(kMsgNoActionTrue, 1327),
    BRENIK_ROW(kMsgVolumeLevel, 1332),
};

// ---- peer_messages.h, receiver by receiver.
const NumberRow kToPeers[] = {
    // settings program
    BRENIK_ROW(kMsgSyncDone, 1254),
    BRENIK_ROW(kMsgProfileSwitched, 1255),
    BRENIK_ROW(kMsgEnableButtons, 1256),
    BRENIK_ROW(kMsgLayerChanged, 1261),
    BRENIK_ROW(kMsgLightingChanged, 1262),
    BRENIK_ROW(kMsgWindowsKeyChanged, 1263),
    BRENIK_ROW(kMsgMacroReadBack, 1264),
    // on-screen display
    BRENIK_ROW(kMsgOsdShow, 1324),
    BRENIK_ROW(kOsdKindProfile, 40),
    BRENIK_ROW(kOsdKindMessage, 50),
    BRENIK_ROW(kOsdKindMacro, 70),
    BRENIK_ROW(kOsdKindWindowsKey, 80),
    BRENIK_ROW(kOsdKindVolume, 160),
    BRENIK_ROW(kMsgOsdSettings, 1326),
    // volume controller
    BRENIK_ROW(kMsgVolumeSyncDone, 1330),
    BRENIK_ROW(kMsgVolumeEvent, 1331),
    // applets
    BRENIK_ROW(kMsgAppletReload, 1224),
    // any of them
    BRENIK_ROW(kMsgClose, 0x0010),
};

// ---- osd_settings_record.h and text_message_block.h: sizes and offsets.
const NumberRow kLayouts[] = {
    BRENIK_ROW(sizeof(OsdSettings), 344),
    BRENIK_ROW(kOsdSettingsBytes, 344),
    BRENIK_ROW(offsetof(OsdSettings, GaugeCpu), 0),
    BRENIK_ROW(offsetof(OsdSettings, GaugeRam), 4),
    BRENIK_ROW(offsetof(OsdSettings, ProfileNotice), 8),
    BRENIK_ROW(offsetof(OsdSettings, MacroNotice), 12),
    BRENIK_ROW(offsetof(OsdSettings, LockKeyNotice), 16),
    BRENIK_ROW(offsetof(OsdSettings, CallDisplay), 20),
    BRENIK_ROW(offsetof(OsdSettings, VolumeNotice), 24),
    BRENIK_ROW(offsetof(OsdSettings, DisplayParam1), 28),
    BRENIK_ROW(offsetof(OsdSettings, DisplayParam2), 32),
    BRENIK_ROW(offsetof(OsdSettings, Unread), 36),
    BRENIK_ROW(kTextMessageBytes, 151),
    BRENIK_ROW(kTextMessageStart, 1),
    BRENIK_ROW(kTextMessageMaxChars, 150),
};

TEST(ContractValues, WindowTitlesProgramPathsAndNamedObjectsAreTheAgreedTexts) { ExpectTextRows(kProgramNames); }

TEST(ContractValues, ConfigIniSectionsAndKeysAreTheAgreedTexts) { ExpectTextRows(kConfigKeys); }

TEST(ContractValues, MessagesToTheMonitorHaveTheirAgreedNumbers) { ExpectRows(kInbox); }

TEST(ContractValues, MessagesFromTheMonitorHaveTheirAgreedNumbers) { ExpectRows(kToPeers); }

TEST(ContractValues, TheDisplaySettingsRecordAndTheTextBlockHaveTheirAgreedLayouts) { ExpectRows(kLayouts); }

// 1326 to the display: field 28's low 16 bits in the high half, field 32's in the low half,
// written into the record's bytes here by offset, as the settings program stores them.
TEST(ContractValues, Message1326PacksTheLow16BitsOfFields28And32) {
    struct PackRow {
        std::int32_t field28;
        std::int32_t field32;
        std::uint32_t packed;
    };
    const PackRow rows[] = {
        {0, 0, 0x00000000u},        {3, 7, 0x00030007u},          {0xFFFF, 7, 0xFFFF0007u},
        {-1, -1, 0xFFFFFFFFu},      {0x10003, 0x20004, 0x00030004u}, {0x8000, 0x8001, 0x80008001u},
        {0x1234, 0xABCD, 0x1234ABCDu},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        unsigned char bytes[344] = {};
        for (int b = 0; b < 4; ++b) {
            bytes[28 + b] = static_cast<unsigned char>(static_cast<std::uint32_t>(rows[i].field28) >> (8 * b));
            bytes[32 + b] = static_cast<unsigned char>(static_cast<std::uint32_t>(rows[i].field32) >> (8 * b));
        }
        static_assert(sizeof bytes == sizeof(OsdSettings));
        OsdSettings settings;
        std::memcpy(&settings, bytes, sizeof settings);
        EXPECT_EQ(PackedDisplayParams(settings), rows[i].packed) << "row " << i;
        const DisplayParams params = UnpackDisplayParams(rows[i].packed);
        EXPECT_EQ(params.first, rows[i].packed >> 16) << "row " << i;
        EXPECT_EQ(params.second, rows[i].packed & 0xFFFFu) << "row " << i;
    }
}

}  // namespace
}  // namespace brenik
