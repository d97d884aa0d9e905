// Where the late-loaded system DLLs come from: the system folder, named by their
// full path, whatever the search order of this Windows, so that a DLL planted
// beside the program (a download folder, a writable share) is never loaded. A
// DLL that the active context redirects (the common controls of visual styles)
// is loaded by name: the side-by-side store it comes from is no search path.
// Linked into velbrook.exe itself, so that the delay-load helper finds the hook.
#include <string>

#include "support/win32/dll_safety.h"
#include "support/win32/windows_ansi.h"
#include <delayimp.h>

namespace {

bool RedirectedByActiveContext(const char* dll) {
    ACTCTX_SECTION_KEYED_DATA data{};
    data.cbSize = sizeof data;
    return FindActCtxSectionStringA(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, dll,
                                    &data) != FALSE;
}

FARPROC WINAPI OnLateDllLoading(unsigned notice, PDelayLoadInfo info) {
    if (notice != dliNotePreLoadLibrary || RedirectedByActiveContext(info->szDll))
        return nullptr;
    const std::string path = velbrook::win32::SystemDirectory() + "\\" + info->szDll;
    return reinterpret_cast<FARPROC>(LoadLibraryExA(path.c_str(), nullptr, 0));
}

} // namespace

PfnDliHook __pfnDliNotifyHook2 = OnLateDllLoading;

// The toolchain's delay-import libraries put each DLL's descriptor in .text$2;
// this zero one, sorted right behind them, ends the list that the image's
// delay-import directory names (cmake/delay_import_directory.py). The link
// keeps it by name (app/CMakeLists.txt).
extern "C" [[gnu::section(".text$3")]] alignas(4) const
    unsigned char velbrook_delay_imports_end[32] = {};
