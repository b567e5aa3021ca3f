// The whole device state as JSON text, for the control command and for tests that want to
// see what the keyboard holds.

#include "virtual_keyboard.h"

#include "json_writer.h"
#include "keyboard_state.h"

#include <cstdint>
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

void WriteMacros(json::JsonWriter& json, const ProfileMemory& profile) {
    json.Key("macros");
    json.BeginArray();
    for (std::size_t key = 0; key < profile.macros.size(); ++key) {
        const MacroEntry& entry = profile.macros[key];
        if (MacroIsEmpty(entry)) continue;
        json.BeginObject();
        json.Key("key");
        json.Number(static_cast<std::int64_t>(key));
        json.Key("option");
        json.Number(entry.option);
        json.Key("entryName");
        json.String(NameText(entry.names.data(), report::kMacroNameSize));
        json.Key("macroName");
        json.String(NameText(entry.names.data() + report::kMacroNameSize, report::kMacroNameSize));
        json.Key("actionCount");
        json.Number(entry.actionCount);
        json.Key("actions");
        json.String(json::HexBytes(entry.actions.data(), entry.actionCount * report::kMacroActionSize));
        json.EndObject();
    }
    json.EndArray();
}

void WriteLaunches(json::JsonWriter& json, const ProfileMemory& profile) {
    json.Key("launches");
    json.BeginArray();
    for (std::size_t key = 0; key < profile.launches.size(); ++key) {
        const LaunchEntry& entry = profile.launches[key];
        if (LaunchIsEmpty(entry)) continue;
        json.BeginObject();
        json.Key("key");
        json.Number(static_cast<std::int64_t>(key));
        json.Key("name");
        json.String(NameText(entry.name.data(), entry.name.size()));
        json.Key("value");
        json.Number(entry.value);
        json.EndObject();
    }
    json.EndArray();
}

void WriteProfile(json::JsonWriter& json, std::size_t index, const ProfileMemory& profile) {
    json.BeginObject();
    json.Key("index");
    json.Number(static_cast<std::int64_t>(index));
    json.Key("lockedKeys");
    json.Number(profile.lockedKeys);
    json.Key("keyMatrix");
    json.String(json::HexBytes(profile.keyMatrix.data(), profile.keyMatrix.size()));
    json.Key("keyFunctions");
    std::string records;
    for (const auto& record : profile.keyFunctions) records += json::HexBytes(record.data(), record.size());
    json.String(records);
    json.Key("lighting");
    json.String(json::HexBytes(profile.lighting.data() + 3, profile.lighting.size() - 3));
    WriteMacros(json, profile);
    WriteLaunches(json, profile);
    json.EndObject();
}

void WriteUpdate(json::JsonWriter& json, const KeyboardState& s) {
    json.Key("update");
    json.BeginObject();
    json.Key("active");
    json.Bool(s.update.Active());
    json.Key("size");
    json.Number(s.update.ExpectedSize());
    json.Key("blocks");
    json.Number(static_cast<std::int64_t>(s.update.BlockCount()));
    json.Key("blocksReceived");
    json.Number(static_cast<std::int64_t>(s.update.BlocksReceived()));
    json.Key("status");
    json.Number(s.updateStatus.Result());
    json.Key("finishedUpdates");
    json.Number(s.update.FinishedCount());
    json.Key("imageSize");
    json.Number(static_cast<std::int64_t>(s.update.FinishedImage().size()));
    json.EndObject();
}

void WriteFaults(json::JsonWriter& json, const FaultPlan& faults) {
    json.Key("faults");
    json.BeginObject();
    json.Key("busyAnswers");
    json.Number(faults.busyAnswers);
    json.Key("failCommands");
    json.Number(faults.failCommands.Left());
    json.Key("failStatus");
    json.Number(faults.failStatus);
    json.Key("refuseSends");
    json.Number(faults.refuseSends.Left());
    json.Key("refuseReads");
    json.Number(faults.refuseReads.Left());
    json.Key("corruptMacroReplies");
    json.Number(faults.corruptMacroReplies.Left());
    json.Key("resendUpdateCommands");
    json.Number(faults.resendUpdateCommands.Left());
    json.Key("unplugAfterReports");
    json.Number(faults.unplugAfterReports);
    json.Key("replyPatches");
    json.Number(static_cast<std::int64_t>(faults.replyPatches.size()));
    json.EndObject();
}

void WriteSelection(json::JsonWriter& json, const Selection& selection) {
    json.Key("selection");
    if (!selection.valid) {
        json.Null();
        return;
    }
    json.BeginObject();
    json.Key("profile");
    json.Number(selection.profile);
    json.Key("selector");
    json.Number(selection.selector);
    json.EndObject();
}

}  // namespace

std::string VirtualKeyboard::StateJson() const {
    const KeyboardState& s = *state_;
    json::JsonWriter json(json::JsonStyle::kIndented);
    json.BeginObject();
    json.Key("plugged");
    json.Bool(s.plugged);
    json.Key("currentProfile");
    json.Number(s.currentProfile);
    json.Key("extendedLayer");
    json.Bool(s.extendedLayer);
    json.Key("hostState");
    json.Number(s.hostState);
    json.Key("volume");
    json.Number(s.volume);
    json.Key("volumeLevel");
    json.Number(s.volumeLevel);
    json.Key("volumeKeyBytes");
    json.String(json::HexBytes(s.volumeKeyBytes.data(), s.volumeKeyBytes.size()));
    json.Key("syncToken");
    json.String(json::HexBytes(s.token.data(), s.token.size()));
    json.Key("firmwareVersion");
    json.Number(s.firmwareVersion);
    json.Key("dfuVersion");
    json.Number(s.dfuVersion);
    json.Key("deviceValue");
    json.Number(s.deviceValue);
    json.Key("countdownStep");
    json.Number(s.countdownStep);
    json.Key("wholeKeyboardCommands");
    json.Number(s.wholeKeyboardCommands);
    json.Key("status");
    json.Number(s.status.Result());
    WriteSelection(json, s.selection);
    WriteUpdate(json, s);
    WriteFaults(json, s.faults);
    json.Key("profiles");
    json.BeginArray();
    for (std::size_t i = 0; i < s.profiles.size(); ++i) WriteProfile(json, i, s.profiles[i]);
    json.EndArray();
    json.Key("pendingNotices");
    json.Number(static_cast<std::int64_t>(s.notices.size()));
    json.EndObject();
    return json.Text() + "\n";
}

}  // namespace brenik::vkb
