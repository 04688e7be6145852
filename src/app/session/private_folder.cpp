// Folders of the user alone, on Windows.
#include "session/private_folder.h"

#ifdef _WIN32

#include <windows.h>

#include <aclapi.h>

#include <string>
#include <vector>

#include <QDir>

namespace velmar {

namespace {

// The current user's security identifier, from the process's token; empty when it cannot be read.
std::vector<BYTE> currentUserSid()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return {};
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<BYTE> info(size);
    const bool read = size != 0 && GetTokenInformation(token, TokenUser, info.data(), size, &size);
    CloseHandle(token);
    if (!read)
        return {};
    const PSID user = reinterpret_cast<const TOKEN_USER*>(info.data())->User.Sid;
    std::vector<BYTE> sid(GetLengthSid(user));
    if (!CopySid(static_cast<DWORD>(sid.size()), sid.data(), user))
        return {};
    return sid;
}

std::wstring nativePath(const QString& path) { return QDir::toNativeSeparators(path).toStdWString(); }

}  // namespace

bool restrictToCurrentUser(const QString& folder)
{
    std::vector<BYTE> sid = currentUserSid();
    if (sid.empty())
        return false;
    EXPLICIT_ACCESSW access{};
    access.grfAccessPermissions = GENERIC_ALL;
    access.grfAccessMode = SET_ACCESS;
    access.grfInheritance = SUB_CONTAINERS_AND_OBJECTS_INHERIT;
    access.Trustee.TrusteeForm = TRUSTEE_IS_SID;
    access.Trustee.TrusteeType = TRUSTEE_IS_USER;
    access.Trustee.ptstrName = reinterpret_cast<LPWSTR>(sid.data());
    PACL acl = nullptr;
    if (SetEntriesInAclW(1, &access, nullptr, &acl) != ERROR_SUCCESS)
        return false;
    // Protected: nothing is inherited from the temporary folder, which another user may enter
    // when it is a shared one.
    std::wstring path = nativePath(folder);
    const DWORD result = SetNamedSecurityInfoW(path.data(), SE_FILE_OBJECT,
                                               DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr,
                                               nullptr, acl, nullptr);
    LocalFree(acl);
    return result == ERROR_SUCCESS;
}

bool ownedByCurrentUser(const QString& path)
{
    const std::vector<BYTE> sid = currentUserSid();
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (sid.empty()
        || GetNamedSecurityInfoW(nativePath(path).c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr,
                                 nullptr, nullptr, &descriptor)
            != ERROR_SUCCESS)
        return false;
    const bool mine = owner && EqualSid(owner, const_cast<BYTE*>(sid.data()));
    LocalFree(descriptor);
    return mine;
}

}  // namespace velmar

#endif
