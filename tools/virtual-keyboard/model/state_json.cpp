// The whole device state as JSON text, for the control command and for tests that want to
// see what the keyboard holds.

#include "virtual_keyboard.h"

#include "json_writer.h"
#include "keyboard_state.h"

#include <string>

namespace brenik::vkb {
namespace {

// A stored name up to its trailing zeros; the host may pad with spaces, which stay.
std::string NameText(const std::uint8_t* bytes, std::size_t size) {
    std::size_t end = size;
    while (end > 0 && bytes[end - 1] == 0) --end;
    return std::string(reinterpret_cast<const char*>(bytes), end);
}

bool MacroIsEmpty(const MacroEntry& entry) {
    if (entry.actionCount != 0 || entry.option != 0) return false;
    for (std::uint8_t byte : entry.names) {
        if (byte != 0) return false;
    }
    return true;
}

bool LaunchIsEmpty(const LaunchEntry& entry) {
    if (entry.value != 0) return false;
    for (std::uint8_t byte : entry.name) {
        if (byte != 0) return false;
    }
    return true;
}

void WriteMacros(JsonWriter& json, const ProfileMemory& profile) {
    json.Key("macros");
    json.BeginArray();
    for (std::size_t key = 0; key < profile.macros.size(); ++key) {
        const MacroEntry& entry = profile.macros[key];
        if (MacroIsEmpty(entry)) continue;
        json.BeginObject();
        json.Key("key");
        json.Int(static_cast<long long>(key));
        json.Key("option");
        json.Int(entry.option);
        json.Key("entryName");
        json.String(NameText(entry.names.data(), report::kMacroNameSize));
        json.Key("macroName");
        json.String(NameText(entry.names.data() + report::kMacroNameSize, report::kMacroNameSize));
        json.Key("actionCount");
        json.Int(entry.actionCount);
        json.Key("actions");
        json.String(HexBytes(entry.actions.data(), entry.actionCount * report::kMacroActionSize));
        json.EndObject();
    }
    json.EndArray();
}

void WriteLaunches(JsonWriter& json, const ProfileMemory& profile) {
    json.Key("launches");
    json.BeginArray();
    for (std::size_t key = 0; key < profile.launches.size(); ++key) {
        const LaunchEntry& entry = profile.launches[key];
        if (LaunchIsEmpty(entry)) continue;
        json.BeginObject();
        json.Key("key");
        json.Int(static_cast<long long>(key));
        json.Key("name");
        json.String(NameText(entry.name.data(), entry.name.size()));
        json.Key("value");
        json.Int(entry.value);
        json.EndObject();
    }
    json.EndArray();
}

void WriteProfile(JsonWriter& json, std::size_t index, const ProfileMemory& profile) {
    json.BeginObject();
    json.Key("index");
    json.Int(static_cast<long long>(index));
    json.Key("lockedKeys");
    json.Int(profile.lockedKeys);
    json.Key("keyMatrix");
    json.String(HexBytes(profile.keyMatrix.data(), profile.keyMatrix.size()));
    json.Key("keyFunctions");
    std::string records;
    for (const auto& record : profile.keyFunctions) records += HexBytes(record.data(), record.size());
    json.String(records);
    json.Key("lighting");
    json.String(HexBytes(profile.lighting.data() + 3, profile.lighting.size() - 3));
    WriteMacros(json, profile);
    WriteLaunches(json, profile);
    json.EndObject();
}

void WriteUpdate(JsonWriter& json, const KeyboardState& s) {
    json.Key("update");
    json.BeginObject();
    json.Key("active");
    json.Bool(s.update.Active());
    json.Key("size");
    json.Int(s.update.ExpectedSize());
    json.Key("blocks");
    json.Int(static_cast<long long>(s.update.BlockCount()));
    json.Key("blocksReceived");
    json.Int(static_cast<long long>(s.update.BlocksReceived()));
    json.Key("status");
    json.Int(s.updateStatus.Result());
    json.Key("finishedUpdates");
    json.Int(s.update.FinishedCount());
    json.Key("imageSize");
    json.Int(static_cast<long long>(s.update.FinishedImage().size()));
    json.EndObject();
}

void WriteFaults(JsonWriter& json, const FaultPlan& faults) {
    json.Key("faults");
    json.BeginObject();
    json.Key("busyAnswers");
    json.Int(faults.busyAnswers);
    json.Key("failCommands");
    json.Int(faults.failCommands.Left());
    json.Key("failStatus");
    json.Int(faults.failStatus);
    json.Key("refuseSends");
    json.Int(faults.refuseSends.Left());
    json.Key("refuseReads");
    json.Int(faults.refuseReads.Left());
    json.Key("corruptMacroReplies");
    json.Int(faults.corruptMacroReplies.Left());
    json.Key("resendUpdateCommands");
    json.Int(faults.resendUpdateCommands.Left());
    json.Key("unplugAfterReports");
    json.Int(faults.unplugAfterReports);
    json.Key("replyPatches");
    json.Int(static_cast<long long>(faults.replyPatches.size()));
    json.EndObject();
}

void WriteSelection(JsonWriter& json, const Selection& selection) {
    json.Key("selection");
    if (!selection.valid) {
        json.Null();
        return;
    }
    json.BeginObject();
    json.Key("profile");
    json.Int(selection.profile);
    json.Key("selector");
    json.Int(selection.selector);
    json.EndObject();
}

}  // namespace

std::string VirtualKeyboard::StateJson() const {
    const KeyboardState& s = *state_;
    JsonWriter json;
    json.BeginObject();
    json.Key("plugged");
    json.Bool(s.plugged);
    json.Key("currentProfile");
    json.Int(s.currentProfile);
    json.Key("extendedLayer");
    json.Bool(s.extendedLayer);
    json.Key("hostState");
    json.Int(s.hostState);
    json.Key("volume");
    json.Int(s.volume);
    json.Key("volumeLevel");
    json.Int(s.volumeLevel);
    json.Key("volumeKeyBytes");
    json.String(HexBytes(s.volumeKeyBytes.data(), s.volumeKeyBytes.size()));
    json.Key("syncToken");
    json.String(HexBytes(s.token.data(), s.token.size()));
    json.Key("firmwareVersion");
    json.Int(s.firmwareVersion);
    json.Key("dfuVersion");
    json.Int(s.dfuVersion);
    json.Key("deviceValue");
    json.Int(s.deviceValue);
    json.Key("countdownStep");
    json.Int(s.countdownStep);
    json.Key("wholeKeyboardCommands");
    json.Int(s.wholeKeyboardCommands);
    json.Key("status");
    json.Int(s.status.Result());
    WriteSelection(json, s.selection);
    WriteUpdate(json, s);
    WriteFaults(json, s.faults);
    json.Key("profiles");
    json.BeginArray();
    for (std::size_t i = 0; i < s.profiles.size(); ++i) WriteProfile(json, i, s.profiles[i]);
    json.EndArray();
    json.Key("pendingNotices");
    json.Int(static_cast<long long>(s.notices.size()));
    json.EndObject();
    return json.Text() + "\n";
}

}  // namespace brenik::vkb
