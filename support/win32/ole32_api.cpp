#include "support/win32/ole32_api.h"

#include "support/win32/dll_safety.h"

#include <ole2.h>

namespace velbrook::win32::ole32 {

namespace {

struct Library {
    // Stays loaded for the life of the process, like a library of the import table.
    HMODULE module = LoadSystemLibrary("ole32.dll").release();
    decltype(&OleInitialize) initialize =
        ProcAddress<decltype(&OleInitialize)>(module, "OleInitialize");
    decltype(&OleUninitialize) uninitialize =
        ProcAddress<decltype(&OleUninitialize)>(module, "OleUninitialize");
    decltype(&CoTaskMemFree) taskMemFree =
        ProcAddress<decltype(&CoTaskMemFree)>(module, "CoTaskMemFree");
};

const Library& Loaded() {
    static const Library library;
    return library;
}

} // namespace

bool Initialize() {
    return Loaded().initialize && Loaded().uninitialize && SUCCEEDED(Loaded().initialize(nullptr));
}

void Uninitialize() {
    if (Loaded().uninitialize)
        Loaded().uninitialize();
}

void TaskMemFree(void* memory) {
    if (Loaded().taskMemFree)
        Loaded().taskMemFree(memory);
}

} // namespace velbrook::win32::ole32
