#pragma once
// The settings tool's shared block and profile files on Windows.

#include "history_folder.h"
#include "settings_services.h"
#include "shared_state_editor_win32.h"

#include <string>
#include <string_view>

namespace brenik::settings {

// Text of the user's ANSI code page as UTF-8, for the JSON output.
std::string AnsiToUtf8(std::string_view text);

class StateBlockWin32 final : public IStateBlock {
public:
    bool Read(StateRecord& state) override;
    BlockEdit Edit(const std::function<bool(StateRecord&)>& edit) override;

private:
    SharedStateEditor editor_;
};

// The monitor's profile files in the tool's own folder (the tool is installed beside the
// monitor), and the file system for export and import.
class ProfileFilesWin32 final : public IProfileFiles {
public:
    explicit ProfileFilesWin32(std::string programFolder)
        : programFolder_(std::move(programFolder)),
          history_(programFolder_, ini::SystemIniStorage(), history::SystemHistoryFolder()) {}
    int LoadAll(StateRecord& state) override;
    std::string ProfileFolder() const override;
    ini::IIniStorage& Storage() override;
    history::ProfileHistory& History() override { return history_; }
    history::HistoryTime Now() override { return history::HistoryTimeNow(); }

private:
    std::string programFolder_;
    history::ProfileHistory history_;
};

}  // namespace brenik::settings
