// KeyFwFlash's entry point: the argument as the runtime hands it over, to the application.

#include "fw_update_app_win32.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    brenik::updater::CFwUpdateApp app(commandLine != nullptr ? commandLine : "");
    return app.Run();
}
