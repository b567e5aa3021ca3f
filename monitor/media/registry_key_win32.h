#pragma once
// CRegistryKey: one registry key named by a path string (root words as registry_path.h gives
// them), opened, read into caller buffers, and closed. The object owns the key it opened and
// closes it on Close, on a second Open and when it is destroyed.
//
// Open creates the key when it is missing only if the caller asks for it: a lookup must never
// leave keys behind, and a standard user may not create keys below HKEY_LOCAL_MACHINE anyway.
// The access mask is the caller's, view flags (KEY_WOW64_32KEY, KEY_WOW64_64KEY) included.

#include "registry_path.h"
#include "scoped_owner.h"

#include <windows.h>

#include <cstddef>

namespace brenik::monitor::media {

struct RegistryKeyTraits {
    static HKEY Empty() { return nullptr; }
    static bool Valid(HKEY key) { return key != nullptr; }
    static void Free(HKEY key) { RegCloseKey(key); }
};
using ScopedRegistryKey = win32::ScopedOwner<HKEY, RegistryKeyTraits>;

class CRegistryKey {
public:
    enum class IfMissing { kFail, kCreate };

    CRegistryKey() = default;
    ~CRegistryKey() { Close(); }
    CRegistryKey(const CRegistryKey&) = delete;
    CRegistryKey& operator=(const CRegistryKey&) = delete;

    // Closes any open key, parses the path and opens the key with the access mask; with
    // kCreate, a missing key is created (which opens it too). False, with no key open, when
    // the path names no key (no backslash, longer than 263 characters) or neither step gave one.
    bool Open(const char* path, REGSAM access, IfMissing ifMissing);

    // Reads the named value ("" or null: the default value) into the buffer, at most
    // bufferSize bytes; the value's type is not examined. The text is always terminated inside
    // the buffer: a value that fills it without a terminator is cut by its last byte. False,
    // with the buffer untouched, when no key is open, the value is missing or longer than the
    // buffer.
    bool ReadValue(const char* name, char* buffer, std::size_t bufferSize);

    // Closes the key if one is open and empties the sub-key path; the root stays as parsed.
    void Close();

    bool IsOpen() const { return key_.Valid(); }
    HKEY Root() const { return root_; }
    const char* SubKey() const { return subKey_; }

private:
    ScopedRegistryKey key_;
    HKEY root_ = nullptr;
    char subKey_[kMaxRegistryPathChars + 1] = {};
};

}  // namespace brenik::monitor::media
