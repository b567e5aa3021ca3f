#pragma once
// The settings tool's link to the running monitor: its window found by title, "Device" in
// config.ini, and the answer. The answer (enable OK/Apply) goes to whatever window has the
// settings program's title, so to hear it the tool opens a hidden top-level window of that
// title of its own, before it tells the monitor, and handles its messages until the answer
// arrives. A window of that title that is already there is the real settings program's;
// the tool never opens a second one. Runs of the tool take turns through a named mutex, held
// for the whole change, so they never mistake each other's answer window for the settings
// program or take each other's answer; windows of the tool's own class are never counted
// as the settings program.

#include "scoped_handle.h"
#include "settings_services.h"

#include <windows.h>

#include <string>

namespace brenik::settings {

class MonitorLinkWin32 final : public IMonitorLink {
public:
    explicit MonitorLinkWin32(std::string configIniPath) : configIni_(std::move(configIniPath)) {}
    ~MonitorLinkWin32() override {
        CloseAnswerWindow();
        EndChangeTurn();
    }
    MonitorLinkWin32(const MonitorLinkWin32&) = delete;
    MonitorLinkWin32& operator=(const MonitorLinkWin32&) = delete;

    bool MonitorRunning() override;
    KeyboardPresence Keyboard() override;
    std::string ConfigIniPath() const override { return configIni_; }
    bool TakeChangeTurn(int timeoutMs) override;
    void EndChangeTurn() override;
    bool SettingsWindowExists() override;
    bool OpenAnswerWindow() override;
    void CloseAnswerWindow() override;
    bool NotifySettingsChanged() override;
    bool WaitForAnswer(int timeoutMs) override;

private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

    std::string configIni_;
    win32::ScopedHandle turn_;  // the change-turn mutex, owned while held
    HWND window_ = nullptr;  // owned: destroyed by CloseAnswerWindow; set from WM_NCCREATE
    bool classRegistered_ = false;
    bool answered_ = false;
};

}  // namespace brenik::settings
