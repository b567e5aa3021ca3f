#include "companions.h"

#include "program_windows.h"

#include <utility>

namespace brenik {

void CloseCompanions(IDesktop& desktop) {
    for (const char* title : {kTitleSettings, kTitlePopup, kTitleSystemGauge, kTitleCallDisplay, kTitleOsd,
                              kTitleVolumeController}) {
        PostToTitle(desktop, title, kMsgClose);
    }
}

Companions::Companions(IDesktop& desktop, std::string programFolder, const OnScreenDisplay& osd)
    : desktop_(desktop), programFolder_(std::move(programFolder)), osd_(osd) {}

// Starting the companions arrives with the tray.
void Companions::Start() {}
void Companions::UpdateApplets() {}

}  // namespace brenik
