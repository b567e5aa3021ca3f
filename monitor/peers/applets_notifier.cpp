#include "applets_notifier.h"

#include "peer_messages.h"
#include "program_windows.h"

namespace brenik::monitor::peers {

void AppletsNotifier::Reload(WindowId applet) { desktop_.Post(applet, kMsgAppletReload, 0, 0); }

void AppletsNotifier::Close(WindowId applet) { desktop_.Post(applet, kMsgClose, 0, 0); }

void AppletsNotifier::CloseAll() {
    for (const char* title : {kTitlePopup, kTitleSystemGauge, kTitleCallDisplay}) PostToTitle(desktop_, title, kMsgClose);
}

}  // namespace brenik::monitor::peers
