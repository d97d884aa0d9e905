#include "support/change_lock.h"

#include <string>

#include "support/errors.h"
#include "support/messages.h"
#include "support/win32/handles.h"
#include "support/win32/process_user.h"
#include "support/win32/windows_ansi.h"
#include <aclapi.h>
#include <sddl.h>

namespace velbrook {

namespace {

struct LocalMemoryTraits {
    static void Close(void* p) { LocalFree(p); }
};
using LocalMemory = win32::UniqueHandle<void*, LocalMemoryTraits>;

[[noreturn]] void RaiseLockError(DWORD error) {
    throw Error(FormatText(msg::kCannotLockPlacesBar, static_cast<long long>(error)));
}

// One name for the user in every session: "Global\" reaches across sessions,
// and the user's SID keeps other users' changes apart.
std::string LockName(const std::string& sid) {
    return "Global\\Velbrook.PlacesBar." + sid;
}

// Owned by the user, open to the user and the system only, and to every
// integrity level, so that an elevated and a normal run of the user share it.
LocalMemory LockSecurity(const std::string& sid) {
    const std::string sddl = "O:" + sid + "D:P(A;;GA;;;" + sid + ")(A;;GA;;;SY)S:(ML;;NW;;;LW)";
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl.c_str(), SDDL_REVISION_1,
                                                              &descriptor, nullptr))
        RaiseLockError(GetLastError());
    return LocalMemory(descriptor);
}

// Every lock that a run of the user makes is owned by the user; one owned by
// anybody else was made to block or fool the user's runs.
bool OwnedBy(HANDLE object, const std::string& sid) {
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(object, SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr,
                        nullptr, nullptr, &descriptor) != ERROR_SUCCESS)
        return false;
    const LocalMemory ownedDescriptor(descriptor);
    char* text = nullptr;
    if (owner == nullptr || !ConvertSidToStringSidA(owner, &text))
        return false;
    const LocalMemory ownedText(text);
    return sid == text;
}

win32::KernelObject OpenLock() {
    const std::string sid = win32::ProcessUserSid();
    const LocalMemory descriptor = LockSecurity(sid);
    SECURITY_ATTRIBUTES security{sizeof security, descriptor.get(), FALSE};
    win32::KernelObject mutex(CreateMutexA(&security, FALSE, LockName(sid).c_str()));
    const DWORD error = GetLastError();
    if (!mutex && error == ERROR_ACCESS_DENIED)
        throw Error(msg::kPlacesBarLockTaken);
    if (!mutex)
        RaiseLockError(error);
    if (error == ERROR_ALREADY_EXISTS && !OwnedBy(mutex.get(), sid))
        throw Error(msg::kPlacesBarLockTaken);
    return mutex;
}

// Waits for the lock as long as a change may take; the thread's windows go on
// painting meanwhile, and take no input that could start another change.
DWORD WaitForLock(HANDLE mutex) {
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD waited = GetTickCount() - start;
        if (waited >= kChangeLockWaitMs)
            return WAIT_TIMEOUT;
        const DWORD result = MsgWaitForMultipleObjects(1, &mutex, FALSE, kChangeLockWaitMs - waited,
                                                       QS_PAINT | QS_SENDMESSAGE);
        if (result != WAIT_OBJECT_0 + 1)
            return result;
        MSG message;
        while (PeekMessageA(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE))
            DispatchMessageA(&message);
    }
}

} // namespace

PlacesBarChangeLock::PlacesBarChangeLock() {
    win32::KernelObject mutex = OpenLock();
    // A process that ended while it held the lock leaves it abandoned: the
    // change it broke off is mended by the change that follows.
    const DWORD waited = WaitForLock(mutex.get());
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED)
        throw Error(
            FormatText(msg::kPlacesBarBusy, static_cast<long long>(kChangeLockWaitMs / 1000)));
    mutex_ = mutex.release();
}

PlacesBarChangeLock::~PlacesBarChangeLock() {
    ReleaseMutex(mutex_);
    CloseHandle(mutex_);
}

} // namespace velbrook
