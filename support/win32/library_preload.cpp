#include "support/win32/library_preload.h"

#include "support/win32/dll_safety.h"

namespace velbrook::win32 {

namespace {

// A new thread starts in its creator's active activation context, so the load
// is redirected as the caller's would be.
DWORD WINAPI LoadOnThread(void* name) {
    LoadSystemLibrary(static_cast<const char*>(name)).release(); // stays loaded
    return 0;
}

} // namespace

LibraryPreload::LibraryPreload(const char* name)
    : thread_(CreateThread(nullptr, 0, LoadOnThread, const_cast<char*>(name), 0, nullptr)) {}

void LibraryPreload::Wait() {
    if (thread_) {
        WaitForSingleObject(thread_.get(), INFINITE);
        thread_.reset();
    }
}

} // namespace velbrook::win32
