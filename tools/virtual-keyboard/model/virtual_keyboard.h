#pragma once
// VirtualKeyboard: a model of the keyboard's firmware, seen only through feature reports in
// and out, key events and plug/unplug. It answers every monitor report (select request and
// status, current profile, key map, locked keys, key functions, lighting, whole-keyboard
// command, device information, host state, sync token, volume, macro and launch entries) and
// the updater's update mode, keeps five profiles of its own, lets tests cause the events a
// user causes on the keyboard and inject faults, and records a protocol trace.
//
// It is written from the keyboard's side on purpose: it shares no encoder, decoder or table
// with the host programs' protocol code, so that a misreading on one side shows up as a
// disagreement instead of being agreed with.
//
// Not thread-safe: one caller at a time (the server serialises every call). Any bytes are
// safe to pass in: bad input is refused with a debugger line, never read out of bounds.

#include "command_status.h"
#include "host_notice.h"
#include "protocol_trace.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace brenik::vkb {

// One step of a macro as the keyboard stores it: key code, event type (1 press, 2 release),
// delay in milliseconds.
struct MacroAction {
    std::uint8_t keyCode = 0;
    std::uint8_t eventType = 0;
    std::uint16_t delayMs = 0;
};

// A fault count: applies to this many of the next occasions, or to all of them.
constexpr int kForever = -1;

class KeyboardState;  // the stored settings and the volatile registers, defined in the .cpp side

class VirtualKeyboard {
public:
    // The clock gives trace timestamps (microseconds, any origin).
    explicit VirtualKeyboard(std::function<std::uint64_t()> nowMicroseconds);
    ~VirtualKeyboard();
    VirtualKeyboard(const VirtualKeyboard&) = delete;
    VirtualKeyboard& operator=(const VirtualKeyboard&) = delete;

    // ---- Host side, exactly as kbhid carries reports: byte 0 the report id, the length
    // counting it. false = refused (unplugged, injected fault, unknown id, wrong length); a
    // refused read leaves the buffer as it was. A write that arrives whole but whose content
    // the firmware rejects is accepted here and answered with a failed status.
    bool SetFeature(const std::uint8_t* report, std::size_t length);
    bool GetFeature(std::uint8_t* report, std::size_t length);

    // ---- Presence. The keyboard starts plugged in (no arrival notice). Unplugging drops the volatile registers (selection, status, update
    // mode, host state, layer); stored settings, token and the finished image survive.
    bool IsPlugged() const;
    void Plug();    // queues kArrived if it was unplugged
    void Unplug();  // queues kRemoved if it was plugged

    // Events and presence changes, oldest first; false when none is waiting.
    bool PopNotice(HostNotice& notice);

    // ---- What a user does on the keyboard. Each changes the model's state as the firmware
    // would, then queues its key event. false (nothing changed, nothing queued) when the
    // keyboard is unplugged or an argument is outside what the keyboard can produce.
    bool PressProfileKey(int profileNumber);                 // 1..5: current profile, standard layer
    // Records a macro live on key keyNumber (1..44) of the current profile: events with
    // qualifiers 1, 2, 3; the key becomes a macro key holding these actions (at most 400).
    bool RecordMacro(int keyNumber, const std::vector<MacroAction>& actions, const std::string& name = "");
    bool AbortMacroRecording(int keyNumber);                  // qualifiers 1, 2, 4; nothing stored
    bool SwitchLayer(bool extended);                          // extended-layer bit of the device information
    bool SetLightingControl(std::uint8_t value);              // lighting control of the current profile
    bool SetWindowsKeyLock(int profileNumber, bool locked);   // right Windows key lock of that profile
    bool TurnVolume(int volume);                              // 0..100: volume and its level
    bool PressMediaKey(std::uint8_t code);                    // 0x20..0x27
    bool PressLaunchKey(int keyNumber);                       // 1..44
    bool PlayMacroKey(int keyNumber);                         // 1..44
    bool CountdownStep(int step);                             // 1..8
    bool StopCountdown();
    // What a firmware update that clears the memory, or a factory reset, leaves: every stored
    // profile, the current profile and the sync token as on a new keyboard. No event; works
    // unplugged too.
    void FactoryReset();
    // Any event word, unchecked and without effect on the state: for host tests of odd input.
    bool SendRawEvent(std::uint16_t eventClass, std::uint16_t subCode);

    // ---- Faults, for tests of the host's failure handling.
    void SetBusyAnswers(int count);       // each command answers busy (3) this often before its result; kForever: always busy
    void FailCommands(int count, std::uint8_t status = kStatusFailed);  // the next write commands end with this status
    void RefuseSends(int count);          // the next SetFeature calls fail
    void RefuseReads(int count);          // the next GetFeature calls fail
    void CorruptMacroReplies(int count);  // the next macro replies carry a wrong checksum
    void ResendUpdateCommands(int count); // the next update commands are answered 4 and dropped
    void UnplugAfterReports(int count);   // unplug after this many more reports (either direction); 0: now
    // The next count replies of reportId carry value at byte offset (1..length-1), e.g. a
    // current profile of 7 or a macro action count above 400; a macro reply's checksum is
    // made to fit (so patching its checksum bytes has no effect: CorruptMacroReplies does that).
    void PatchReplies(std::uint8_t reportId, std::size_t offset, std::uint8_t value, int count = 1);
    void ClearFaults();                   // every fault above off, busy answers 0

    // ---- Inspection and set-up.
    std::string StateJson() const;        // the whole device state as JSON text
    const ProtocolTrace& Trace() const;
    void ClearTrace();
    // A line in the trace for something the host did besides a report (for example letting go
    // of the device), so the trace can be lined up with other programs' logs.
    void NoteHost(const std::string& line);
    const std::vector<std::uint8_t>& FirmwareImage() const;  // the image kept by the last finished update
    int FinishedUpdates() const;
    void SetFirmwareVersion(std::uint8_t version);  // device information byte 2
    void SetDfuVersion(std::uint8_t version);       // device information byte 3
    void SetDeviceValue(std::uint8_t value);        // device information byte 4

    int CurrentProfile() const;
    bool ExtendedLayer() const;
    bool InUpdateMode() const;
    std::uint8_t HostState() const;
    int Volume() const;
    int VolumeLevel() const;
    std::array<std::uint8_t, 16> SyncToken() const;
    std::uint8_t LockedKeys(int profile) const;     // 0 for a profile outside 0..4
    int WholeKeyboardCommands() const;              // how many command 12 carried out
    int CountdownStepNow() const;                   // 0 when no countdown runs

private:
    std::string CallRefusal(bool fromHost, std::uint8_t id, std::size_t length);
    bool BuildReply(std::uint8_t* reply, std::string& why);
    std::string CarryOutMonitorCommand(const std::uint8_t* report);
    std::string CarryOutUpdateCommand(const std::uint8_t* report);
    bool Refuse(bool fromHost, const std::uint8_t* report, std::size_t length, const std::string& why);
    void Record(bool fromHost, bool accepted, const std::uint8_t* bytes, std::size_t length, std::string line);
    void CountReport();
    void UnplugIfDue();
    void QueueNotice(const HostNotice& notice);
    bool QueueKeyEvent(std::uint16_t eventClass, std::uint8_t qualifier, std::uint8_t keyByte);

    std::unique_ptr<KeyboardState> state_;
    bool unplugDue_ = false;  // the injected unplug comes after the current report is answered
};

}  // namespace brenik::vkb
