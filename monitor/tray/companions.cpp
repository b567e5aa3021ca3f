#include "companions.h"

#include "debug_output.h"
#include "peer_messages.h"
#include "program_windows.h"

#include <utility>

namespace brenik {

void CloseCompanions(IDesktop& desktop) {
    for (const char* title : {kTitleSettings, kTitlePopup, kTitleSystemGauge, kTitleCallDisplay, kTitleOsd,
                              kTitleVolumeController}) {
        PostToTitle(desktop, title, kMsgClose);
    }
}

AppletSwitches AppletSwitchesOf(const OsdSettings& settings) {
    return {SwitchIsOn(settings.GaugeCpu) || SwitchIsOn(settings.GaugeRam), SwitchIsOn(settings.CallDisplay)};
}

Companions::Companions(IDesktop& desktop, std::string programFolder, const OnScreenDisplay& osd)
    : desktop_(desktop), programFolder_(std::move(programFolder)), osd_(osd) {}

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
    if (window != kNoWindow) desktop_.Post(window, kMsgAppletReload, 0, 0);
    if (switchedOn && window == kNoWindow) desktop_.ShellOpen(PathOf(program));
    if (!switchedOn && window != kNoWindow) desktop_.Post(window, kMsgClose, 0, 0);
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

}  // namespace brenik
