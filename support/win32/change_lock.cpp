#include "support/change_lock.h"

#include <string>

#include "support/errors.h"
#include "support/messages.h"
#include "support/win32/user_mutex.h"
#include "support/win32/windows_ansi.h"

namespace velbrook {

namespace {

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
    bool existed = false;
    win32::KernelObject mutex = win32::OpenUserMutex(
        "Velbrook.PlacesBar", false, existed, msg::kPlacesBarLockTaken, msg::kCannotLockPlacesBar);
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
