#include "owner_only_security_win32.h"

#include "debug_output.h"
#include "scoped_handle.h"

namespace brenik {
namespace {

bool WellKnownSid(WELL_KNOWN_SID_TYPE type, std::vector<BYTE>& sid) {
    sid.assign(SECURITY_MAX_SID_SIZE, 0);
    DWORD size = static_cast<DWORD>(sid.size());
    if (!CreateWellKnownSid(type, nullptr, sid.data(), &size)) return false;
    sid.resize(size);
    return true;
}

DWORD AceBytes(const std::vector<BYTE>& sid) {
    return static_cast<DWORD>(sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD) + sid.size());
}

}  // namespace

bool CurrentUserSid(std::vector<BYTE>& sid) {
    HANDLE raw = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw)) return false;
    const win32::ScopedHandle token(raw);
    DWORD needed = 0;
    GetTokenInformation(token.Get(), TokenUser, nullptr, 0, &needed);
    if (needed == 0) return false;
    std::vector<BYTE> buffer(needed);
    if (!GetTokenInformation(token.Get(), TokenUser, buffer.data(), needed, &needed)) return false;
    const PSID user = reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid;
    if (!IsValidSid(user)) return false;
    sid.assign(GetLengthSid(user), 0);
    return CopySid(static_cast<DWORD>(sid.size()), sid.data(), user) != 0;
}

OwnerOnlySecurity::OwnerOnlySecurity(DWORD access) {
    valid_ = Build(access);
    if (!valid_) {
        DebugPrintf("OwnerOnlySecurity could not be built (error %lu); using the default access list\n",
                    static_cast<unsigned long>(GetLastError()));
    }
}

bool OwnerOnlySecurity::Build(DWORD access) {
    if (!CurrentUserSid(tokenUser_) || !WellKnownSid(WinLocalSystemSid, system_) ||
        !WellKnownSid(WinBuiltinAdministratorsSid, administrators_)) {
        return false;
    }
    acl_.assign(sizeof(ACL) + AceBytes(tokenUser_) + AceBytes(system_) + AceBytes(administrators_), 0);
    auto* acl = reinterpret_cast<ACL*>(acl_.data());
    return InitializeAcl(acl, static_cast<DWORD>(acl_.size()), ACL_REVISION) &&
           AddAccessAllowedAce(acl, ACL_REVISION, access, tokenUser_.data()) &&
           AddAccessAllowedAce(acl, ACL_REVISION, access, system_.data()) &&
           AddAccessAllowedAce(acl, ACL_REVISION, access, administrators_.data()) &&
           InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) &&
           SetSecurityDescriptorDacl(&descriptor_, TRUE, acl, FALSE) && IsValidSecurityDescriptor(&descriptor_);
}

SECURITY_ATTRIBUTES* OwnerOnlySecurity::Attributes(bool inheritHandle) {
    attributes_.nLength = sizeof attributes_;
    attributes_.lpSecurityDescriptor = valid_ ? &descriptor_ : nullptr;
    attributes_.bInheritHandle = inheritHandle ? TRUE : FALSE;
    return &attributes_;
}

}  // namespace brenik
