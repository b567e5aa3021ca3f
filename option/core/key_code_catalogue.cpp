#include "key_code_catalogue.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <optional>
#include <sstream>

namespace brenik::option {
namespace {

constexpr int kUsageCount = 256;

struct NamedCode {
    std::uint8_t usage;
    const char* name;
    const char* label;
};

// The keyboard/keypad page of the HID usage tables, by the names people know the keys by. The
// runs of letters, digits, function keys and the keypad's digits are filled in by AddRuns.
constexpr NamedCode kNamedCodes[] = {
    {0x00, "None", "None"},
    {0x28, "Enter", "Enter"},
    {0x29, "Esc", "Esc"},
    {0x2A, "Backspace", "Bksp"},
    {0x2B, "Tab", "Tab"},
    {0x2C, "Space", "Space"},
    {0x2D, "Minus (-)", "-"},
    {0x2E, "Equals (=)", "="},
    {0x2F, "Left Bracket ([)", "["},
    {0x30, "Right Bracket (])", "]"},
    {0x31, "Backslash (\\)", "\\"},
    {0x32, "Non-US #", "NUS #"},
    {0x33, "Semicolon (;)", ";"},
    {0x34, "Quote (')", "'"},
    {0x35, "Grave (`)", "`"},
    {0x36, "Comma (,)", ","},
    {0x37, "Period (.)", "."},
    {0x38, "Slash (/)", "/"},
    {0x39, "Caps Lock", "Caps"},
    {0x46, "Print Screen", "PrtSc"},
    {0x47, "Scroll Lock", "ScrLk"},
    {0x48, "Pause", "Pause"},
    {0x49, "Insert", "Ins"},
    {0x4A, "Home", "Home"},
    {0x4B, "Page Up", "PgUp"},
    {0x4C, "Delete", "Del"},
    {0x4D, "End", "End"},
    {0x4E, "Page Down", "PgDn"},
    {0x4F, "Right", "Right"},
    {0x50, "Left", "Left"},
    {0x51, "Down", "Down"},
    {0x52, "Up", "Up"},
    {0x53, "Num Lock", "NumLk"},
    {0x54, "Num /", "Num/"},
    {0x55, "Num *", "Num*"},
    {0x56, "Num -", "Num-"},
    {0x57, "Num +", "Num+"},
    {0x58, "Num Enter", "NumEnt"},
    {0x63, "Num .", "Num."},
    {0x64, "Non-US \\", "NUS \\"},
    {0x65, "Menu", "Menu"},
    {0x66, "Power", "Power"},
    {0x67, "Num =", "Num="},
    {0x74, "Execute", "Exec"},
    {0x75, "Help", "Help"},
    {0x76, "Keyboard Menu", "KbMenu"},
    {0x77, "Select", "Select"},
    {0x78, "Stop", "Stop"},
    {0x79, "Again", "Again"},
    {0x7A, "Undo", "Undo"},
    {0x7B, "Cut", "Cut"},
    {0x7C, "Copy", "Copy"},
    {0x7D, "Paste", "Paste"},
    {0x7E, "Find", "Find"},
    {0x7F, "Mute", "Mute"},
    {0x80, "Volume Up", "Vol+"},
    {0x81, "Volume Down", "Vol-"},
    {0x82, "Locking Caps Lock", "LkCaps"},
    {0x83, "Locking Num Lock", "LkNum"},
    {0x84, "Locking Scroll Lock", "LkScrl"},
    {0x85, "Num ,", "Num,"},
    {0x86, "Num = (AS/400)", "Num="},
    {0x87, "International 1 (Ro)", "Ro"},
    {0x88, "International 2 (Katakana/Hiragana)", "Kana"},
    {0x89, "International 3 (Yen)", "Yen"},
    {0x8A, "International 4 (Henkan)", "Henkan"},
    {0x8B, "International 5 (Muhenkan)", "Muhen"},
    {0x8C, "International 6", "Int6"},
    {0x8D, "International 7", "Int7"},
    {0x8E, "International 8", "Int8"},
    {0x8F, "International 9", "Int9"},
    {0x90, "Lang 1 (Hangul/English)", "Hangul"},
    {0x91, "Lang 2 (Hanja)", "Hanja"},
    {0x92, "Lang 3 (Katakana)", "Lang3"},
    {0x93, "Lang 4 (Hiragana)", "Lang4"},
    {0x94, "Lang 5 (Zenkaku/Hankaku)", "Lang5"},
    {0x95, "Lang 6", "Lang6"},
    {0x96, "Lang 7", "Lang7"},
    {0x97, "Lang 8", "Lang8"},
    {0x98, "Lang 9", "Lang9"},
    {0x99, "Alternate Erase", "AltErs"},
    {0x9A, "SysReq", "SysRq"},
    {0x9B, "Cancel", "Cancel"},
    {0x9C, "Clear", "Clear"},
    {0x9D, "Prior", "Prior"},
    {0x9E, "Return", "Return"},
    {0x9F, "Separator", "Sep"},
    {0xA0, "Out", "Out"},
    {0xA1, "Oper", "Oper"},
    {0xA2, "Clear/Again", "ClrAg"},
    {0xA3, "CrSel/Props", "CrSel"},
    {0xA4, "ExSel", "ExSel"},
    {0xB0, "Num 00", "Num00"},
    {0xB1, "Num 000", "Num000"},
    {0xB2, "Thousands Separator", "Thous"},
    {0xB3, "Decimal Separator", "DecSep"},
    {0xB4, "Currency Unit", "Curr"},
    {0xB5, "Currency Sub-unit", "CurSub"},
    {0xB6, "Num (", "Num("},
    {0xB7, "Num )", "Num)"},
    {0xB8, "Num {", "Num{"},
    {0xB9, "Num }", "Num}"},
    {0xBA, "Num Tab", "NumTab"},
    {0xBB, "Num Backspace", "NumBks"},
    {0xBC, "Num A", "NumA"},
    {0xBD, "Num B", "NumB"},
    {0xBE, "Num C", "NumC"},
    {0xBF, "Num D", "NumD"},
    {0xC0, "Num E", "NumE"},
    {0xC1, "Num F", "NumF"},
    {0xC2, "Num XOR", "NumXor"},
    {0xC3, "Num ^", "Num^"},
    {0xC4, "Num %", "Num%"},
    {0xC5, "Num <", "Num<"},
    {0xC6, "Num >", "Num>"},
    {0xC7, "Num &", "Num&"},
    {0xC8, "Num &&", "Num&&"},
    {0xC9, "Num |", "Num|"},
    {0xCA, "Num ||", "Num||"},
    {0xCB, "Num :", "Num:"},
    {0xCC, "Num #", "Num#"},
    {0xCD, "Num Space", "NumSpc"},
    {0xCE, "Num @", "Num@"},
    {0xCF, "Num !", "Num!"},
    {0xD0, "Num Memory Store", "NumMS"},
    {0xD1, "Num Memory Recall", "NumMR"},
    {0xD2, "Num Memory Clear", "NumMC"},
    {0xD3, "Num Memory Add", "NumM+"},
    {0xD4, "Num Memory Subtract", "NumM-"},
    {0xD5, "Num Memory Multiply", "NumM*"},
    {0xD6, "Num Memory Divide", "NumM/"},
    {0xD7, "Num +/-", "Num+/-"},
    {0xD8, "Num Clear", "NumClr"},
    {0xD9, "Num Clear Entry", "NumCE"},
    {0xDA, "Num Binary", "NumBin"},
    {0xDB, "Num Octal", "NumOct"},
    {0xDC, "Num Decimal", "NumDec"},
    {0xDD, "Num Hexadecimal", "NumHex"},
    {0xE0, "Left Ctrl", "LCtrl"},
    {0xE1, "Left Shift", "LShift"},
    {0xE2, "Left Alt", "LAlt"},
    {0xE3, "Left Win", "LWin"},
    {0xE4, "Right Ctrl", "RCtrl"},
    {0xE5, "Right Shift", "RShift"},
    {0xE6, "Right Alt", "RAlt"},
    {0xE7, "Right Win", "RWin"},
};

constexpr std::uint8_t kFirstLetter = 0x04;   // A..Z
constexpr std::uint8_t kFirstDigit = 0x1E;    // 1..9, then 0
constexpr std::uint8_t kF1 = 0x3A;            // F1..F12
constexpr std::uint8_t kF13 = 0x68;           // F13..F24
constexpr std::uint8_t kFirstNumDigit = 0x59;  // Num 1..Num 9, then Num 0

std::string Hex(std::uint8_t usage) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", usage);
    return text;
}

std::string UnnamedName(std::uint8_t usage) { return "Code " + Hex(usage); }

void Name(std::vector<KeyCodeName>& codes, int usage, std::string name, std::string label) {
    codes[usage].name = std::move(name);
    codes[usage].label = std::move(label);
}

void AddRuns(std::vector<KeyCodeName>& codes) {
    for (int i = 0; i < 26; ++i) {
        const std::string letter(1, static_cast<char>('A' + i));
        Name(codes, kFirstLetter + i, letter, letter);
    }
    for (int i = 0; i < 10; ++i) {
        const std::string digit(1, static_cast<char>('0' + (i + 1) % 10));
        Name(codes, kFirstDigit + i, digit, digit);
        Name(codes, kFirstNumDigit + i, "Num " + digit, "Num" + digit);
    }
    for (int i = 0; i < 12; ++i) {
        Name(codes, kF1 + i, "F" + std::to_string(i + 1), "F" + std::to_string(i + 1));
        Name(codes, kF13 + i, "F" + std::to_string(i + 13), "F" + std::to_string(i + 13));
    }
}

std::vector<KeyCodeName> BuildCatalogue() {
    std::vector<KeyCodeName> codes(kUsageCount);
    for (int usage = 0; usage < kUsageCount; ++usage) {
        const auto code = static_cast<std::uint8_t>(usage);
        codes[usage] = {code, UnnamedName(code), Hex(code)};
    }
    AddRuns(codes);
    for (const NamedCode& named : kNamedCodes) Name(codes, named.usage, named.name, named.label);
    return codes;
}

bool IsNamed(const KeyCodeName& code) { return code.name != UnnamedName(code.usage); }

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

std::vector<std::string> Words(std::string_view text) {
    std::istringstream stream(Lower(text));
    std::vector<std::string> words;
    for (std::string word; stream >> word;) words.push_back(word);
    return words;
}

// "0x2c", "0x5" or two bare digits "2c"; a single bare digit is the digit key's name, not a code.
std::optional<std::uint8_t> HexForm(const std::vector<std::string>& words) {
    if (words.size() != 1) return std::nullopt;
    std::string_view digits = words[0];
    const bool prefixed = digits.substr(0, 2) == "0x";
    if (prefixed) digits.remove_prefix(2);
    if (digits.empty() || digits.size() > 2 || (!prefixed && digits.size() != 2)) return std::nullopt;
    if (!std::all_of(digits.begin(), digits.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); })) {
        return std::nullopt;
    }
    std::uint8_t value = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
    return value;
}

bool NameHoldsEvery(const KeyCodeName& code, const std::vector<std::string>& words) {
    const std::string name = Lower(code.name);
    return std::all_of(words.begin(), words.end(),
                       [&](const std::string& word) { return name.find(word) != std::string::npos; });
}

}  // namespace

const std::vector<KeyCodeName>& KeyCodeCatalogue() {
    static const std::vector<KeyCodeName> catalogue = BuildCatalogue();
    return catalogue;
}

const KeyCodeName& KeyCode(std::uint8_t usage) { return KeyCodeCatalogue()[usage]; }

std::vector<std::uint8_t> SearchKeyCodes(std::string_view text) {
    const std::vector<std::string> words = Words(text);
    const std::optional<std::uint8_t> hex = HexForm(words);
    std::vector<std::uint8_t> named;
    std::vector<std::uint8_t> unnamed;
    for (const KeyCodeName& code : KeyCodeCatalogue()) {
        const bool isNamed = IsNamed(code);
        const bool matches = (hex && *hex == code.usage) || (isNamed && NameHoldsEvery(code, words));
        if (matches) (isNamed ? named : unnamed).push_back(code.usage);
    }
    named.insert(named.end(), unnamed.begin(), unnamed.end());
    return named;
}

}  // namespace brenik::option
