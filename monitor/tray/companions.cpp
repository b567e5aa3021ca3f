#include "companions.h"

#include "debug_output.h"
#include "display_notifier.h"
#include "peer_messages.h"
#include "program_windows.h"
#include "settings_program_notifier.h"
#include "volume_controller_notifier.h"

#include <utility>

namespace brenik::monitor::tray {

void CloseCompanions(IDesktop& desktop) {
    peers::SettingsProgramNotifier(desktop).Close();
    peers::AppletsNotifier(desktop).CloseAll();
    peers::DisplayNotifier(desktop).Close();
    peers::VolumeControllerNotifier(desktop).Close();
}

AppletSwitches AppletSwitchesOf(const OsdSettings& settings) {
    return {SwitchIsOn(settings.GaugeCpu) || SwitchIsOn(settings.GaugeRam), SwitchIsOn(settings.CallDisplay)};
}

Companions::Companions(IDesktop& desktop, std::string programFolder, const osd::OnScreenDisplay& osd)
    : desktop_(desktop), applets_(desktop), programFolder_(std::move(programFolder)), osd_(osd) {}

std::string Companions::PathOf(const char* program) const { return programFolder_ + "\\" + program; }

void Companions::Start() {
    desktop_.ShellOpen(PathOf(kProgramOsd));
    desktop_.ShellOpen(PathOf(kProgramVolumeBar));
    UpdateApplets();
}

void Companions::UpdateApplets() { UpdateApplets(AppletSwitchesOf(osd_.Settings())); }

void Companions::UpdateApplets(const AppletSwitches& switches) {
    UpdateApplet(kTitleSystemGauge, kProgramSystemGauge, switches.systemGauge);
    UpdateApplet(kTitleCallDisplay, kProgramCallDisplay, switches.callDisplay);
}

void Companions::UpdateApplet(const char* title, const char* program, bool switchedOn) {
    const WindowId window = desktop_.FindWindowByTitle(title);
    if (window != kNoWindow) applets_.Reload(window);
    if (switchedOn && window == kNoWindow) desktop_.ShellOpen(PathOf(program));
    if (!switchedOn && window != kNoWindow) applets_.Close(window);
}

void Companions::BringUpSettings() {
    DebugOutput("CMonitorWnd OnCustomizer\n");
    const WindowId window = desktop_.FindWindowByTitle(kTitleSettings);
    if (window != kNoWindow) {
        DebugOutput("CMonitorWnd OnCustomizer hWnd!=NULL\n");
        desktop_.BringForward(window);
    } else {
        DebugOutput("CMonitorWnd OnCustomizer hWnd==NULL\n");
        desktop_.ShellOpen(PathOf(kProgramSettings));
    }
}

}  // namespace brenik::monitor::tray
