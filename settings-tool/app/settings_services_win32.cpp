#include "settings_services_win32.h"

#include "keyboard_repeat.h"
#include "profile_store.h"

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

void ProfileFilesWin32::LoadAll(StateRecord& state) {
    NoKeyboardRepeat repeat;
    ClearState(state);
    ProfileStore(programFolder_, ini::SystemIniStorage(), repeat).LoadProfiles(state);
}

ini::IIniStorage& ProfileFilesWin32::Storage() { return ini::SystemIniStorage(); }

}  // namespace brenik::settings
