#include "support/win32/library_preload.h"

#include <memory>

#include "support/win32/dll_safety.h"

namespace velbrook::win32 {

namespace {

struct LoadRequest {
    const char* name;
    HANDLE context; // the caller's activation context, referenced for the thread
};

DWORD WINAPI LoadOnThread(void* param) {
    const std::unique_ptr<LoadRequest> request(static_cast<LoadRequest*>(param));
    ULONG_PTR cookie = 0;
    const bool activated =
        request->context != nullptr && ActivateActCtx(request->context, &cookie) != FALSE;
    LoadSystemDll(request->name);
    if (activated)
        DeactivateActCtx(0, cookie);
    if (request->context != nullptr)
        ReleaseActCtx(request->context);
    return 0;
}

} // namespace

LibraryPreload::LibraryPreload(const char* name) {
    auto request = std::make_unique<LoadRequest>(LoadRequest{name, nullptr});
    if (!GetCurrentActCtx(&request->context))
        request->context = nullptr;
    thread_.reset(CreateThread(nullptr, 0, LoadOnThread, request.get(), 0, nullptr));
    if (thread_) {
        request.release(); // the thread owns it now
    } else if (request->context != nullptr) {
        ReleaseActCtx(request->context);
    }
}

void LibraryPreload::Wait() {
    if (thread_) {
        WaitForSingleObject(thread_.get(), INFINITE);
        thread_.reset();
    }
}

} // namespace velbrook::win32
