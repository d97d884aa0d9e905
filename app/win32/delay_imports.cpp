// Binds the program's imports of system DLLs other than kernel32 and msvcrt on
// their first call, so the command-line actions start without those DLLs.
#include "app/win32/delay_imports.h"

#include <string>

#include "support/win32/dll_safety.h"

namespace {

// Since Windows 8, advapi32's registry functions are kernelbase's own, which
// every process has loaded: taking them from there spares loading advapi32 and
// what it imports. Older systems lack them in kernelbase, or kernelbase itself.
FARPROC FromPreferredModule(const DelayDll& dll, const char* function) {
    if (dll.preferred == nullptr)
        return nullptr;
    const HMODULE module = GetModuleHandleA(dll.preferred);
    return module != nullptr ? GetProcAddress(module, function) : nullptr;
}

} // namespace

extern "C" void* velbrook_bind_delay_import(DelayDll* dll, const char* function, void** slot) {
    FARPROC address = FromPreferredModule(*dll, function);
    if (address == nullptr) {
        HMODULE module = dll->module;
        if (module == nullptr) {
            module = velbrook::win32::LoadSystemLibrary(dll->name).release();
            dll->module = module;
        }
        address = module != nullptr ? GetProcAddress(module, function) : nullptr;
    }
    if (address == nullptr) {
        const std::string text = std::string("Velbrook cannot start: ") + dll->name + " or its " +
                                 function + " is missing.";
        FatalAppExitA(0, text.c_str());
    }
    void* target = reinterpret_cast<void*>(address);
    InterlockedExchangePointer(slot, target);
    return target;
}
