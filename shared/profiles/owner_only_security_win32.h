#pragma once
// A security descriptor for the kernel objects that other programs of the same user open by
// name: full access for the user running this process, for SYSTEM and for the Administrators
// group (so an elevated settings program of the same user still opens them), and for nobody
// else. The monitor sends what it finds in the shared block to the keyboard and starts the
// program paths of launch keys from it, so no other user may write there.
//
// Everything lives inside the object; it is built in place and neither copied nor moved,
// because the attributes point into it.

#include <windows.h>

#include <vector>

namespace brenik {

class OwnerOnlySecurity {
public:
    // access: the object type's full access mask (FILE_MAP_ALL_ACCESS, MUTEX_ALL_ACCESS).
    explicit OwnerOnlySecurity(DWORD access);

    OwnerOnlySecurity(const OwnerOnlySecurity&) = delete;
    OwnerOnlySecurity& operator=(const OwnerOnlySecurity&) = delete;

    bool Valid() const { return valid_; }

    // Attributes for the create call, the handle inheritable or not. When the descriptor could
    // not be built they carry none, so the object gets the token's default access list (still
    // never a null one).
    SECURITY_ATTRIBUTES* Attributes(bool inheritHandle);

private:
    bool Build(DWORD access);

    std::vector<BYTE> tokenUser_;
    std::vector<BYTE> system_;
    std::vector<BYTE> administrators_;
    std::vector<BYTE> acl_;
    SECURITY_DESCRIPTOR descriptor_{};
    SECURITY_ATTRIBUTES attributes_{};
    bool valid_ = false;
};

// The SID of the user running this process, copied into sid; false if it cannot be read.
bool CurrentUserSid(std::vector<BYTE>& sid);

}  // namespace brenik
