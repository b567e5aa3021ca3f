#include "registry_key_win32.h"

#include "debug_output.h"

#include <cstring>
#include <vector>

namespace brenik::monitor::media {
namespace {

HKEY RootKeyOf(RegistryRoot root) {
    switch (root) {
        case RegistryRoot::kCurrentUser: return HKEY_CURRENT_USER;
        case RegistryRoot::kCurrentConfig: return HKEY_CURRENT_CONFIG;
        case RegistryRoot::kClassesRoot: return HKEY_CLASSES_ROOT;
        case RegistryRoot::kLocalMachine: break;
    }
    return HKEY_LOCAL_MACHINE;
}

}  // namespace

bool CRegistryKey::Open(const char* path, REGSAM access, IfMissing ifMissing) {
    Close();
    const std::optional<RegistryPath> parsed = ParseRegistryPath(path != nullptr ? path : "");
    if (!parsed) return false;
    root_ = RootKeyOf(parsed->root);
    std::memcpy(subKey_, parsed->subKey.c_str(), parsed->subKey.size() + 1);  // fits: the path had at most 263

    HKEY opened = nullptr;
    if (RegOpenKeyExA(root_, subKey_, 0, access, &opened) == ERROR_SUCCESS) {
        key_.Reset(opened);
        return true;
    }
    if (ifMissing != IfMissing::kCreate) return false;
    if (RegCreateKeyExA(root_, subKey_, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &opened, nullptr) ==
        ERROR_SUCCESS) {
        key_.Reset(opened);
        return true;
    }
    return false;
}

bool CRegistryKey::ReadValue(const char* name, char* buffer, std::size_t bufferSize) {
    if (!key_.Valid() || buffer == nullptr || bufferSize == 0 || bufferSize > MAXDWORD) return false;
    // Read into a copy first: a value that does not fit may leave anything in the buffer.
    std::vector<char> read(bufferSize);
    DWORD size = static_cast<DWORD>(bufferSize);
    const LONG result = RegQueryValueExA(key_.Get(), name != nullptr ? name : "", nullptr, nullptr,
                                         reinterpret_cast<BYTE*>(read.data()), &size);
    if (result == ERROR_MORE_DATA) {
        DebugPrintf("CRegistryKey: value \"%s\" of %s longer than %zu bytes refused\n", name != nullptr ? name : "",
                    subKey_, bufferSize);
        return false;
    }
    if (result != ERROR_SUCCESS) return false;
    // A value stored without its terminator, or not as a string at all, still ends inside the buffer.
    if (size < bufferSize) {
        read[size] = '\0';
    } else if (read[bufferSize - 1] != '\0') {
        DebugPrintf("CRegistryKey: value \"%s\" of %s not terminated, cut to %zu bytes\n", name != nullptr ? name : "",
                    subKey_, bufferSize - 1);
        read[bufferSize - 1] = '\0';
    }
    std::memcpy(buffer, read.data(), bufferSize);
    return true;
}

void CRegistryKey::Close() {
    key_.Reset();
    subKey_[0] = '\0';
}

}  // namespace brenik::monitor::media
