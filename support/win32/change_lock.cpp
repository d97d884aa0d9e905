#include "support/change_lock.h"

#include <string>

#include "support/errors.h"
#include "support/messages.h"
#include "support/win32/process_user.h"
#include "support/win32/windows_ansi.h"

namespace velbrook {

namespace {

// One name for the user in every session: "Global\" reaches across sessions,
// and the user's SID keeps other users' changes apart.
std::string LockName() {
    return "Global\\Velbrook.PlacesBar." + win32::ProcessUserSid();
}

} // namespace

PlacesBarChangeLock::PlacesBarChangeLock() {
    const std::string name = LockName();
    HANDLE mutex = CreateMutexA(nullptr, FALSE, name.c_str());
    if (mutex == nullptr)
        mutex = OpenMutexA(SYNCHRONIZE, FALSE, name.c_str());
    if (mutex == nullptr)
        throw Error(FormatText(msg::kCannotLockPlacesBar, static_cast<long long>(GetLastError())));
    // A process that ended while it held the lock leaves it abandoned: the
    // change it broke off is mended by the change that follows.
    const DWORD waited = WaitForSingleObject(mutex, kChangeLockWaitMs);
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
        CloseHandle(mutex);
        throw Error(
            FormatText(msg::kPlacesBarBusy, static_cast<long long>(kChangeLockWaitMs / 1000)));
    }
    mutex_ = mutex;
}

PlacesBarChangeLock::~PlacesBarChangeLock() {
    ReleaseMutex(mutex_);
    CloseHandle(mutex_);
}

} // namespace velbrook
