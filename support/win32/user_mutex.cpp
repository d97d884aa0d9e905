#include "support/win32/user_mutex.h"

#include "support/errors.h"
#include "support/messages.h"
#include "support/win32/process_user.h"
#include <aclapi.h>
#include <sddl.h>

namespace velbrook::win32 {

namespace {

LocalMemory UserOnlySecurity(const std::string& sid, const char* failure) {
    const std::string sddl = "O:" + sid + "D:P(A;;GA;;;" + sid + ")(A;;GA;;;SY)S:(ML;;NW;;;LW)";
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl.c_str(), SDDL_REVISION_1,
                                                              &descriptor, nullptr))
        throw Error(FormatText(failure, static_cast<long long>(GetLastError())));
    return LocalMemory(descriptor);
}

bool OwnedBy(HANDLE object, const std::string& sid) {
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(object, SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr,
                        nullptr, nullptr, &descriptor) != ERROR_SUCCESS)
        return false;
    const LocalMemory ownedDescriptor(descriptor);
    return SidText(owner) == sid;
}

} // namespace

KernelObject OpenUserMutex(const std::string& name, bool initialOwner, bool& existed,
                           const char* refusal, const char* failure) {
    const std::string sid = ProcessUserSid();
    const LocalMemory descriptor = UserOnlySecurity(sid, failure);
    SECURITY_ATTRIBUTES security{sizeof security, descriptor.get(), FALSE};
    const std::string fullName = "Global\\" + name + "." + sid;
    KernelObject mutex(CreateMutexA(&security, initialOwner ? TRUE : FALSE, fullName.c_str()));
    const DWORD error = GetLastError();
    if (!mutex && error == ERROR_ACCESS_DENIED)
        throw Error(refusal);
    if (!mutex)
        throw Error(FormatText(failure, static_cast<long long>(error)));
    existed = error == ERROR_ALREADY_EXISTS;
    if (existed && !OwnedBy(mutex.get(), sid))
        throw Error(refusal);
    return mutex;
}

} // namespace velbrook::win32
