#pragma once
// The monitor's feature reports, each value once: identifiers and lengths, selectors, the
// handshake's statuses and delays, the pauses the keyboard needs, and the fixed tables
// (default key matrix, default codes, lock bits, lighting bytes, volume levels). The encoders
// and the commands use these names only. Where the standard keys sit in the key matrix is
// shared with the settings program: standard_key_positions.h.

#include "profile_record.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace brenik::monitor::device {

// ---- Report identifiers and their fixed lengths (byte 0 included).
constexpr std::uint8_t kReportSelect = 4;  // select request (write) and status reply (read)
constexpr std::size_t kSelectLength = 3;
constexpr std::uint8_t kReportCurrentProfile = 5;
constexpr std::size_t kCurrentProfileLength = 3;
constexpr std::uint8_t kReportStandardKeys = 6;
constexpr std::size_t kStandardKeysLength = 152;
constexpr std::uint8_t kReportLockKeys = 7;
constexpr std::size_t kLockKeysLength = 4;
constexpr std::uint8_t kReportKeyBlockA = 8;  // keys 0..11
constexpr std::size_t kKeyBlockALength = 48;
constexpr std::uint8_t kReportKeyBlockB = 9;  // keys 12..21
constexpr std::size_t kKeyBlockBLength = 40;
constexpr std::uint8_t kReportKeyBlockC = 19;  // keys 37..41
constexpr std::size_t kKeyBlockCLength = 18;
constexpr std::uint8_t kReportLighting = 11;
constexpr std::size_t kLightingLength = 32;
constexpr std::uint8_t kReportWholeKeyboard = 12;
constexpr std::size_t kWholeKeyboardLength = 3;
constexpr std::uint8_t kReportDeviceInfo = 14;
constexpr std::size_t kDeviceInfoLength = 8;
constexpr std::uint8_t kReportHostState = 16;
constexpr std::size_t kHostStateLength = 3;
constexpr std::uint8_t kReportSyncToken = 17;
constexpr std::size_t kSyncTokenLength = 18;
constexpr std::uint8_t kReportVolume = 18;
constexpr std::size_t kVolumeLength = 8;
constexpr std::uint8_t kReportMacro = 20;
constexpr std::size_t kMacroLength = 1674;
constexpr std::uint8_t kReportLaunch = 74;
constexpr std::size_t kLaunchLength = 40;

constexpr std::size_t kLargestReport = kMacroLength;

// ---- Selectors of the select request.
constexpr std::uint8_t kSelectStandardKeys = 0x40;
constexpr std::uint8_t kSelectLockKeys = 0x50;
constexpr std::uint8_t kSelectKeyBlockA = 0x60;
constexpr std::uint8_t kSelectKeyBlockB = 0x70;
constexpr std::uint8_t kSelectLighting = 0x90;
constexpr std::uint8_t kSelectKeyBlockC = 0xC0;
// A macro entry is selected by its key index, a launch entry by this base plus the index.
constexpr std::uint8_t kSelectLaunchBase = 209;

// ---- Status reply (byte 1 of report 4).
constexpr std::uint8_t kStatusDone = 1;
constexpr std::uint8_t kStatusBusy = 3;
constexpr std::size_t kStatusByte = 1;

// ---- Timing, in milliseconds.
constexpr unsigned kSelectPauseMs = 100;         // plain pause after every select request
constexpr unsigned kSelectBlockFirstDelayMs = 300;  // handshake before reading a settings block
constexpr unsigned kSelectEntryFirstDelayMs = 1000; // handshake before reading a macro or launch entry
constexpr unsigned kShortFirstDelayMs = 100;     // current profile, host state, whole keyboard
constexpr unsigned kBlockFirstDelayMs = 500;     // profile blocks and the sync token
constexpr unsigned kVolumeFirstDelayMs = 300;
constexpr unsigned kEntrySettleMs = 500;         // after a macro or launch entry is sent
constexpr unsigned kWholeKeyboardSettleMs = 2000;
constexpr unsigned kEntryFirstDelayMs = 0;       // handshake after the settle pause of an entry
// Pauses of the device jobs between their commands (each an abortable sleep).
constexpr unsigned kStepPauseMs = 100;
constexpr unsigned kBetweenKeysMs = 50;           // below one slice: returns at once
constexpr unsigned kBeforeCurrentProfileMs = 1000;
constexpr unsigned kBetweenAttemptsMs = 500;      // before a macro or launch entry is tried again
constexpr unsigned kRecordedMacroSettleMs = 1500; // before a live-recorded macro is read back
constexpr int kEntryAttempts = 3;
// Keys whose live-recorded macro may be read back (job 4's argument).
constexpr int kFirstRecordedKey = 1;
constexpr int kLastRecordedKey = 41;

// Sleep before each poll of the status handshake, poll 0 taking the command's first delay.
constexpr std::array<unsigned, 10> kPollSleepsMs = {0, 100, 100, 200, 300, 500, 2000, 2000, 2000, 2000};

// ---- Header bytes.
constexpr std::size_t kLengthByte = 1;
constexpr std::size_t kProfileByte = 2;
constexpr std::uint8_t kWholeKeyboardCode = 12;

// ---- Key-function blocks (reports 8, 9, 19). A record is the function code (the record's
// FunctionType, profile_record.h) and two bytes: kFunctionStandard travels as the key's
// default code, kFunctionSingleKey with modifier and key code, kFunctionLaunchEntry and
// kFunctionMacro point to reports 74 and 20.
constexpr std::size_t kKeyRecordBytes = 3;

struct KeyBlockLayout {
    std::uint8_t reportId;
    std::size_t length;
    std::uint8_t selector;
    int firstKey;
    int keyCount;
    std::size_t recordOffset;   // records of 3 bytes from here
    std::uint8_t firstDefault;  // the default code of the first key; the others follow on
};

constexpr KeyBlockLayout kKeyBlockA = {kReportKeyBlockA, kKeyBlockALength, kSelectKeyBlockA, 0, 12, 12, 0x3A};
constexpr KeyBlockLayout kKeyBlockB = {kReportKeyBlockB, kKeyBlockBLength, kSelectKeyBlockB, 12, 10, 10, 0x1E};
constexpr KeyBlockLayout kKeyBlockC = {kReportKeyBlockC, kKeyBlockCLength, kSelectKeyBlockC, 37, 5, 3, 0x1E};


// ---- Locked-key flags (report 7, byte 3).
constexpr std::size_t kLockFlagsByte = 3;
constexpr std::uint8_t kLockTab = 0x01;
constexpr std::uint8_t kLockCapsLock = 0x02;
constexpr std::uint8_t kLockLeftWin = 0x04;
constexpr std::uint8_t kLockRightWin = 0x08;
constexpr std::uint8_t kLockApp = 0x10;
constexpr std::uint8_t kLockLeftShift = 0x20;

// ---- Standard key map (report 6): a 144-byte key matrix from byte 8.
constexpr std::size_t kKeyMatrixOffset = 8;
constexpr std::size_t kKeyMatrixBytes = 144;

// Positions that carry a standard key are always overwritten from the profile, so only the
// others reach the keyboard from here. (Position 12, left Shift's, reads 226 here, a second
// left Alt; it is never sent.)
constexpr std::array<std::uint8_t, kKeyMatrixBytes> KeyMatrixDefaults = {
    0,   160, 161, 162, 163, 164, 0, 0,  //
    41,  53,  43,  57,  226, 224, 0, 0,  //
    58,  30,  20,  4,   29,  191, 0, 0,  //
    59,  31,  26,  22,  27,  226, 0, 0,  //
    60,  32,  8,   7,   6,   100, 0, 0,  //
    61,  33,  21,  9,   25,  139, 0, 0,  //
    62,  34,  23,  10,  5,   44,  0, 0,  //
    63,  35,  28,  11,  17,  145, 0, 0,  //
    64,  36,  24,  13,  16,  144, 0, 0,  //
    65,  37,  12,  14,  54,  230, 0, 0,  //
    66,  38,  18,  15,  55,  138, 0, 0,  //
    137, 39,  19,  51,  56,  231, 0, 0,  //
    67,  45,  47,  52,  135, 101, 0, 0,  //
    68,  46,  48,  40,  229, 228, 0, 0,  //
    69,  42,  49,  50,  49,  136, 0, 0,  //
    70,  73,  76,  0,   0,   80,  0, 0,  //
    71,  74,  77,  0,   82,  81,  0, 0,  //
    72,  75,  78,  0,   0,   79,  0, 0};

// ---- Lighting (report 11): byte positions, and the four bytes written with fixed values.
namespace lighting {
constexpr std::size_t kOption = 3;            // written 1, read into LtOption
constexpr std::size_t kColorSettingType = 4;  // written 2
constexpr std::size_t kColor = 5;             // written 1
constexpr std::size_t kRed = 6;
constexpr std::size_t kGreen = 7;
constexpr std::size_t kBlue = 8;
constexpr std::size_t kControl = 9;
constexpr std::size_t kSaving = 10;
constexpr std::size_t kTimeout = 11;
constexpr std::size_t kColorFlow = 13;
constexpr std::size_t kFixedTwo = 14;         // written 2, not read
constexpr std::size_t kLogoOption = 15;
constexpr std::size_t kLogoRed = 16;
constexpr std::size_t kLogoGreen = 17;
constexpr std::size_t kLogoBlue = 18;
constexpr std::size_t kLogoControl = 19;
constexpr std::size_t kLogoFlow = 20;
constexpr std::size_t kLogoSpeed = 21;        // written 2, read into LogoLightSpeed
constexpr std::size_t kKeyLightFirst = 22;    // six flag bytes 22..27
constexpr std::size_t kKeyLightFlags = 6;
constexpr std::size_t kEffectType = 28;
constexpr std::size_t kLayerEffectType = 29;

constexpr std::uint8_t kOptionWritten = 1;
constexpr std::uint8_t kColorSettingTypeWritten = 2;
constexpr std::uint8_t kColorWritten = 1;
constexpr std::uint8_t kFixedTwoWritten = 2;
constexpr std::uint8_t kLogoSpeedWritten = 2;
}  // namespace lighting

// ---- Macro entry (report 20).
namespace macro {
constexpr std::size_t kProfileByte = 3;
constexpr std::size_t kKeyByte = 4;
constexpr std::size_t kOptionByte = 5;
constexpr std::size_t kEntryNameOffset = 6;
constexpr std::size_t kMacroNameOffset = 38;
constexpr std::size_t kCountOffset = 70;
constexpr std::size_t kActionsOffset = 72;
constexpr std::size_t kActionBytes = 4;
constexpr std::size_t kChecksumOffset = kMacroLength - 2;  // 1672
constexpr std::uint8_t kNameFill = 0x20;  // zero bytes of the names travel as spaces
}  // namespace macro

// ---- Launch entry (report 74).
namespace launch {
constexpr std::size_t kSelectorByte = 3;
constexpr std::size_t kNameOffset = 4;
constexpr std::size_t kValueOffset = 36;
}  // namespace launch

// ---- Names: 32 bytes on the wire and in the key entry.
constexpr std::size_t kNameBytes = 32;

// ---- Sync token (report 17): 16 bytes from byte 2.
constexpr std::size_t kTokenBytes = 16;
constexpr std::size_t kTokenOffset = 2;
using SyncToken = std::array<std::uint8_t, kTokenBytes>;

// ---- Device information (report 14).
constexpr std::size_t kFirmwareVersionByte = 2;
constexpr std::size_t kDeviceValueByte = 4;
constexpr std::size_t kExtendedModeByte = 7;
constexpr std::uint8_t kExtendedModeBit = 0x80;

// ---- Host state (report 16).
constexpr std::uint8_t kHostLeaving = 0;
constexpr std::uint8_t kHostSynchronised = 1;

// ---- Volume level (report 18).
constexpr int kVolumeMax = 100;
constexpr std::size_t kVolumeSpareFirst = 3;  // bytes 3..5, see EncodeVolume
constexpr std::size_t kVolumeSpareBytes = 3;
constexpr std::size_t kVolumeLevelByte = 6;
constexpr std::size_t kVolumeValueByte = 7;
// Upper volume of levels 0..7: level n covers (kVolumeLevelTops[n-1], kVolumeLevelTops[n]].
constexpr std::array<int, 8> kVolumeLevelTops = {0, 14, 28, 42, 56, 70, 84, 100};

}  // namespace brenik::monitor::device
