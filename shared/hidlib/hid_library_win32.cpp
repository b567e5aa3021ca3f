#include "hid_library.h"

#include "debug_output.h"
#include "program_folder.h"

#include <cstring>

namespace brenik::hid {
namespace {

void LookupInModule(void* context, const char* name, void** address) {
    const FARPROC found = GetProcAddress(static_cast<HMODULE>(context), name);
    static_assert(sizeof found == sizeof *address, "code and data addresses have one size here");
    std::memcpy(address, &found, sizeof found);
}

}  // namespace

bool HidLibrary::Load(std::size_t count) {
    const std::string folder = ProgramFolder();
    if (folder.empty()) {
        // A bare name would be searched for along the system's path: never load a stranger's kbhid.dll.
        Unload();
        DebugPrintf("kbhid binding: the program folder is unknown; kbhid.dll not loaded\n");
        return false;
    }
    return LoadFrom(folder + kLibraryFileName, count);
}

bool HidLibrary::LoadFrom(const std::string& path, std::size_t count) {
    Unload();
    // Only the named file: no search of the system folders or PATH for another kbhid.dll.
    win32::ScopedModule module(LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
    if (!module.Valid()) {
        DebugPrintf("kbhid binding: cannot load %s (error %lu)\n", path.c_str(), static_cast<unsigned long>(GetLastError()));
        return false;
    }
    const bool all = BindEntryPoints(table_, count, LookupInModule, module.Get());
    module_ = std::move(module);
    return all;
}

void HidLibrary::Unload() {
    table_ = HidEntryPoints{};
    module_.Reset();
}

}  // namespace brenik::hid
