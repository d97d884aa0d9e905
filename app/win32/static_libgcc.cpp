// The program links libgcc statically. On i686 its start-up code (crtbegin)
// still asks GetModuleHandleA whether the DLL build of libgcc is loaded, to hand
// the program's unwind tables to that DLL's unwinder when it is. That would be
// the wrong unwinder for this program, and under Wine the question alone costs
// a scan of every folder of the DLL search path, about 2 ms of each run. The
// program's import slot of GetModuleHandleA answers it without asking.
#include "support/win32/windows_ansi.h"

#if defined(__i386__)

namespace {

HMODULE WINAPI ModuleHandleWithoutSharedLibgcc(LPCSTR name) {
    if (name != nullptr && lstrcmpiA(name, "libgcc_s_dw2-1.dll") == 0)
        return nullptr;
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT, name, &module);
    return module;
}

} // namespace

using GetModuleHandleAFunction = HMODULE(WINAPI*)(LPCSTR);

extern "C" {
// Takes the place of the slot that the kernel32 import library would provide.
GetModuleHandleAFunction
    velbrook_get_module_handle_a asm("__imp__GetModuleHandleA@4") = ModuleHandleWithoutSharedLibgcc;
}

#endif
