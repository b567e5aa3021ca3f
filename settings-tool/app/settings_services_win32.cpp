#include "settings_services_win32.h"

#include "keyboard_repeat.h"
#include "profile_store.h"

#include <windows.h>

namespace brenik::settings {
namespace {

// Loading never touches the system's key repeat; the store only asks for a sink.
class NoKeyboardRepeat final : public IKeyboardRepeatSink {
public:
    void SetKeyboardDelay(int) override {}
    void SetKeyboardSpeed(int) override {}
};

}  // namespace

bool StateBlockWin32::Read(StateRecord& state) { return editor_.Read(state) == SharedStateEditor::Outcome::kRead; }

BlockEdit StateBlockWin32::Edit(const std::function<bool(StateRecord&)>& edit) {
    switch (editor_.Edit(edit)) {
        case SharedStateEditor::Outcome::kWritten: return BlockEdit::kWritten;
        case SharedStateEditor::Outcome::kRead: return BlockEdit::kNotWritten;
        default: return BlockEdit::kUnavailable;
    }
}

int ProfileFilesWin32::LoadAll(StateRecord& state) {
    NoKeyboardRepeat repeat;
    ClearState(state);
    ProfileStore(programFolder_, ini::SystemIniStorage(), repeat).LoadProfiles(state);
    int found = 0;
    for (int n = 0; n < kProfileCount; ++n) {
        found += GetFileAttributesA(ProfileFilePath(programFolder_, n).c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    return found;
}

std::string ProfileFilesWin32::ProfileFolder() const {
    const std::string first = ProfileFilePath(programFolder_, 0);
    return first.substr(0, first.find_last_of('\\') + 1);
}

std::string AnsiToUtf8(std::string_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int wide = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    if (wide <= 0) return std::string(text);
    std::wstring utf16(static_cast<std::size_t>(wide), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), size, utf16.data(), wide);
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), wide, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return std::string(text);
    std::string utf8(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), wide, utf8.data(), bytes, nullptr, nullptr);
    return utf8;
}

ini::IIniStorage& ProfileFilesWin32::Storage() { return ini::SystemIniStorage(); }

}  // namespace brenik::settings
