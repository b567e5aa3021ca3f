// Brenik Monitor's entry point. For now it only finds its program folder and configuration
// file; start-up, the hidden window and the rest arrive with the monitor core.

#include "debug_output.h"
#include "program_folder.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    brenik::DebugPrintf("Brenik Monitor: configuration %s\n", brenik::ConfigIniPath().c_str());
    return 0;
}
