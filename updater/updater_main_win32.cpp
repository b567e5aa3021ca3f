// KeyFwFlash's entry point. For now it only finds its program folder; the update flow and
// its dialogs arrive with the updater.

#include "debug_output.h"
#include "program_folder.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    brenik::DebugPrintf("KeyFwFlash: folder %s\n", brenik::ProgramFolder().c_str());
    return 0;
}
