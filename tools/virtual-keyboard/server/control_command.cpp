#include "control_command.h"

#include <cstdio>
#include <functional>
#include <map>

namespace brenik::vkb {
namespace {

using Words = std::vector<std::string>;

constexpr int kProfiles = 5;
constexpr int kKeys = 44;

// The macro recorded when none is given: a, b, c typed with 50 ms between steps.
const std::vector<std::uint8_t> kDefaultMacroKeys = {0x04, 0x05, 0x06};
constexpr std::uint16_t kMacroStepDelayMs = 50;
constexpr std::uint8_t kPress = 1;
constexpr std::uint8_t kRelease = 2;

ControlResult Ok(std::string text) { return ControlResult{true, std::move(text), false}; }
ControlResult Refused(std::string text) { return ControlResult{false, std::move(text), false}; }

std::string Describe(const Words& words) {
    std::string line;
    for (const std::string& word : words) line += (line.empty() ? "" : " ") + word;
    return line;
}

ControlResult Done(bool done, const Words& words, const VirtualKeyboard& keyboard) {
    if (done) return Ok("done: " + Describe(words));
    if (!keyboard.IsPlugged()) return Refused("refused: the keyboard is unplugged");
    return Refused("refused: " + Describe(words));
}

// An argument that must be a number in range; text names it for the message.
bool Arg(const Words& words, std::size_t index, long low, long high, long& value, ControlResult& error) {
    if (index >= words.size() || !ParseNumber(words[index], low, high, value)) {
        error = Refused(words[0] + ": expected a number from " + std::to_string(low) + " to " + std::to_string(high) +
                        (index < words.size() ? ", not \"" + words[index] + "\"" : ""));
        return false;
    }
    return true;
}

bool ExactCount(const Words& words, std::size_t count, ControlResult& error) {
    if (words.size() != count) {
        error = Refused(words[0] + ": expected " + std::to_string(count - 1) + " argument(s); see help");
        return false;
    }
    return true;
}

// "forever" or a count of occasions.
bool CountArg(const Words& words, std::size_t index, long& count, ControlResult& error) {
    if (index < words.size() && words[index] == "forever") {
        count = kForever;
        return true;
    }
    return Arg(words, index, 0, 1000000, count, error);
}

ControlResult RecordMacro(VirtualKeyboard& keyboard, const Words& words) {
    ControlResult error;
    long key = 0;
    if (!Arg(words, 1, 1, kKeys, key, error)) return error;
    std::vector<std::uint8_t> codes;
    for (std::size_t i = 2; i < words.size(); ++i) {
        long code = 0;
        if (!Arg(words, i, 1, 255, code, error)) return error;
        codes.push_back(static_cast<std::uint8_t>(code));
    }
    if (codes.empty()) codes = kDefaultMacroKeys;
    if (codes.size() * 2 > 400) return Refused("record-macro: at most 200 keys (400 actions)");
    std::vector<MacroAction> actions;
    for (std::uint8_t code : codes) {
        actions.push_back(MacroAction{code, kPress, kMacroStepDelayMs});
        actions.push_back(MacroAction{code, kRelease, kMacroStepDelayMs});
    }
    return Done(keyboard.RecordMacro(static_cast<int>(key), actions, "Recorded " + std::to_string(key)), words, keyboard);
}

ControlResult Layer(VirtualKeyboard& keyboard, const Words& words) {
    bool extended = !keyboard.ExtendedLayer();
    if (words.size() == 2 && (words[1] == "extended" || words[1] == "standard")) {
        extended = words[1] == "extended";
    } else if (words.size() != 1) {
        return Refused("layer: expected nothing, \"standard\" or \"extended\"");
    }
    return Done(keyboard.SwitchLayer(extended), words, keyboard);
}

ControlResult WindowsLock(VirtualKeyboard& keyboard, const Words& words) {
    ControlResult error;
    long profile = 0;
    if (!ExactCount(words, 3, error) || !Arg(words, 1, 1, kProfiles, profile, error)) return error;
    if (words[2] != "on" && words[2] != "off") return Refused("winlock: expected on or off");
    return Done(keyboard.SetWindowsKeyLock(static_cast<int>(profile), words[2] == "on"), words, keyboard);
}

ControlResult Countdown(VirtualKeyboard& keyboard, const Words& words) {
    if (words.size() == 2 && words[1] == "stop") return Done(keyboard.StopCountdown(), words, keyboard);
    ControlResult error;
    long step = 0;
    if (!ExactCount(words, 2, error) || !Arg(words, 1, 1, 8, step, error)) return error;
    return Done(keyboard.CountdownStep(static_cast<int>(step)), words, keyboard);
}

ControlResult Fault(VirtualKeyboard& keyboard, const Words& words) {
    ControlResult error;
    if (words.size() == 2 && words[1] == "clear") {
        keyboard.ClearFaults();
        return Ok("done: fault clear");
    }
    long count = 0;
    if (words.size() < 3 || !CountArg(words, 2, count, error)) {
        return words.size() < 3 ? Refused("fault: expected a kind and a count; see help") : error;
    }
    const std::string& kind = words[1];
    const int n = static_cast<int>(count);
    if (kind == "fail") {
        long status = kStatusFailed;
        if (words.size() == 4 && !Arg(words, 3, 0, 255, status, error)) return error;
        if (words.size() > 4) return Refused("fault fail: expected a count and an optional status");
        keyboard.FailCommands(n, static_cast<std::uint8_t>(status));
        return Ok("done: " + Describe(words));
    }
    if (words.size() != 3) return Refused("fault " + kind + ": expected one count");
    const std::map<std::string, std::function<void(int)>> setters = {
        {"busy", [&](int c) { keyboard.SetBusyAnswers(c); }},
        {"refuse-send", [&](int c) { keyboard.RefuseSends(c); }},
        {"refuse-read", [&](int c) { keyboard.RefuseReads(c); }},
        {"bad-checksum", [&](int c) { keyboard.CorruptMacroReplies(c); }},
        {"resend", [&](int c) { keyboard.ResendUpdateCommands(c); }},
        {"unplug-after", [&](int c) { keyboard.UnplugAfterReports(c); }},
    };
    const auto setter = setters.find(kind);
    if (setter == setters.end()) return Refused("fault: unknown kind \"" + kind + "\"; see help");
    setter->second(n);
    return Ok("done: " + Describe(words));
}

ControlResult Set(VirtualKeyboard& keyboard, const Words& words) {
    ControlResult error;
    long value = 0;
    if (!ExactCount(words, 3, error) || !Arg(words, 2, 0, 255, value, error)) return error;
    const auto byte = static_cast<std::uint8_t>(value);
    if (words[1] == "firmware-version") {
        keyboard.SetFirmwareVersion(byte);
    } else if (words[1] == "dfu-version") {
        keyboard.SetDfuVersion(byte);
    } else if (words[1] == "device-value") {
        keyboard.SetDeviceValue(byte);
    } else {
        return Refused("set: expected firmware-version, dfu-version or device-value");
    }
    return Ok("done: " + Describe(words));
}

ControlResult Status(const VirtualKeyboard& keyboard) {
    char line[160];
    std::snprintf(line, sizeof line, "%s, profile %d, %s layer, %s, %d update(s) finished",
                  keyboard.IsPlugged() ? "plugged in" : "unplugged", keyboard.CurrentProfile() + 1,
                  keyboard.ExtendedLayer() ? "extended" : "standard", keyboard.InUpdateMode() ? "in update mode" : "normal mode",
                  keyboard.FinishedUpdates());
    return Ok(line);
}

ControlResult Trace(VirtualKeyboard& keyboard, const Words& words) {
    if (words.size() == 2 && words[1] == "clear") {
        keyboard.ClearTrace();
        return Ok("done: trace clear");
    }
    if (words.size() != 1) return Refused("trace: expected nothing or \"clear\" (vkbd itself writes a file)");
    return Ok(keyboard.Trace().Text());
}

// Commands with one number argument that call one keyboard method.
ControlResult OneNumber(VirtualKeyboard& keyboard, const Words& words, long low, long high,
                        const std::function<bool(long)>& action) {
    ControlResult error;
    long value = 0;
    if (!ExactCount(words, 2, error) || !Arg(words, 1, low, high, value, error)) return error;
    return Done(action(value), words, keyboard);
}

}  // namespace

std::vector<std::string> SplitWords(std::string_view line) {
    std::vector<std::string> words;
    std::string word;
    for (char c : line) {
        if (c == ' ' || c == '\t') {
            if (!word.empty()) words.push_back(std::move(word));
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty()) words.push_back(std::move(word));
    return words;
}

bool ParseNumber(std::string_view text, long low, long high, long& value) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty() || text.size() > 9) return false;
    long parsed = 0;
    for (char c : text) {
        int digit = -1;
        if (c >= '0' && c <= '9') digit = c - '0';
        if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        if (digit < 0) return false;
        parsed = parsed * base + digit;
    }
    if (parsed < low || parsed > high) return false;
    value = parsed;
    return true;
}

ControlResult RunControlCommand(VirtualKeyboard& keyboard, const std::vector<std::string>& words) {
    if (words.empty()) return Refused("no command; see help");
    const std::string& verb = words[0];
    auto to = [](long v) { return static_cast<int>(v); };
    if (verb == "status" && words.size() == 1) return Status(keyboard);
    if (verb == "stop" && words.size() == 1) return ControlResult{true, "stopping", true};
    if (verb == "plug" && words.size() == 1) {
        keyboard.Plug();
        return Ok("done: plug");
    }
    if (verb == "unplug" && words.size() == 1) {
        keyboard.Unplug();
        return Ok("done: unplug");
    }
    if (verb == "profile") return OneNumber(keyboard, words, 1, kProfiles, [&](long v) { return keyboard.PressProfileKey(to(v)); });
    if (verb == "record-macro") return RecordMacro(keyboard, words);
    if (verb == "abort-macro") return OneNumber(keyboard, words, 1, kKeys, [&](long v) { return keyboard.AbortMacroRecording(to(v)); });
    if (verb == "layer") return Layer(keyboard, words);
    if (verb == "lighting") {
        return OneNumber(keyboard, words, 0, 255, [&](long v) { return keyboard.SetLightingControl(static_cast<std::uint8_t>(v)); });
    }
    if (verb == "winlock") return WindowsLock(keyboard, words);
    if (verb == "factory-reset" && words.size() == 1) return keyboard.FactoryReset(), Ok("done: factory-reset");
    if (verb == "volume") return OneNumber(keyboard, words, 0, 100, [&](long v) { return keyboard.TurnVolume(to(v)); });
    if (verb == "media") {
        return OneNumber(keyboard, words, 0x20, 0x27, [&](long v) { return keyboard.PressMediaKey(static_cast<std::uint8_t>(v)); });
    }
    if (verb == "launch") return OneNumber(keyboard, words, 1, kKeys, [&](long v) { return keyboard.PressLaunchKey(to(v)); });
    if (verb == "play-macro") return OneNumber(keyboard, words, 1, kKeys, [&](long v) { return keyboard.PlayMacroKey(to(v)); });
    if (verb == "countdown") return Countdown(keyboard, words);
    if (verb == "event") {
        ControlResult error;
        long eventClass = 0;
        long subCode = 0;
        if (!ExactCount(words, 3, error) || !Arg(words, 1, 0, 0xFFFF, eventClass, error) ||
            !Arg(words, 2, 0, 0xFFFF, subCode, error)) {
            return error;
        }
        return Done(keyboard.SendRawEvent(static_cast<std::uint16_t>(eventClass), static_cast<std::uint16_t>(subCode)), words,
                    keyboard);
    }
    if (verb == "fault") return Fault(keyboard, words);
    if (verb == "set") return Set(keyboard, words);
    if (verb == "dump" && words.size() == 1) return Ok(keyboard.StateJson());
    if (verb == "trace") return Trace(keyboard, words);
    if (verb == "image" && words.size() == 1) {
        const std::vector<std::uint8_t>& image = keyboard.FirmwareImage();
        return Ok(std::string(image.begin(), image.end()));
    }
    return Refused("unknown command \"" + Describe(words) + "\"; see help");
}

const char* ControlHelp() {
    return "vkbd: control the virtual keyboard\n"
           "\n"
           "  vkbd start [--pipe NAME]     start the server (vkbd-server.exe beside vkbd.exe)\n"
           "  vkbd stop                    stop the server\n"
           "  vkbd status                  plugged in or not, profile, layer, update mode\n"
           "  vkbd plug | unplug           plug the keyboard in or pull it out\n"
           "\n"
           "What a user does on the keyboard (numbers are decimal or 0x hex):\n"
           "  vkbd profile N               press profile key N (1-5)\n"
           "  vkbd record-macro KEY [CODE...]  record a macro live on key KEY (1-44) of the current\n"
           "                               profile: a press and release of each key code (a b c if none)\n"
           "  vkbd abort-macro KEY         start recording on KEY and abort it\n"
           "  vkbd layer [standard|extended]  switch the layer (toggles without an argument)\n"
           "  vkbd lighting VALUE          lighting control of the current profile (0-255)\n"
           "  vkbd winlock PROFILE on|off  Windows-key lock of profile 1-5\n"
           "  vkbd factory-reset           every stored profile and the sync token as on a new keyboard\n"
           "  vkbd volume N                turn the volume to N (0-100)\n"
           "  vkbd media CODE              media key 0x20-0x27\n"
           "  vkbd launch KEY              press launch key KEY (1-44)\n"
           "  vkbd play-macro KEY          play the macro on key KEY (1-44)\n"
           "  vkbd countdown STEP | countdown stop   countdown timer step 1-8, or stop it\n"
           "  vkbd event CLASS SUBCODE     any event word, without effect on the keyboard's state\n"
           "\n"
           "Faults (COUNT is a number or \"forever\"):\n"
           "  vkbd fault busy COUNT        answer busy (3) this often before each result\n"
           "  vkbd fault fail COUNT [STATUS]   the next write commands end with STATUS (2)\n"
           "  vkbd fault refuse-send COUNT | refuse-read COUNT   the next sends or reads fail\n"
           "  vkbd fault bad-checksum COUNT   the next macro replies carry a wrong checksum\n"
           "  vkbd fault resend COUNT      the next update commands are answered resend (4)\n"
           "  vkbd fault unplug-after COUNT   unplug after this many more reports\n"
           "  vkbd fault clear             all faults off\n"
           "\n"
           "Inspection:\n"
           "  vkbd set firmware-version|dfu-version|device-value N   device information bytes\n"
           "  vkbd dump                    the whole device state as JSON\n"
           "  vkbd trace [FILE]            the protocol trace, to FILE or the console\n"
           "  vkbd trace clear             forget the trace so far\n"
           "  vkbd image FILE              write the image kept by the last finished update to FILE\n"
           "  vkbd help                    this text\n"
           "\n"
           "Every command takes --pipe NAME for a server of that name (default BrenikVirtualKeyboard).\n";
}

}  // namespace brenik::vkb
