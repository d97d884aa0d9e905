#pragma once
// Keeps the program from loading DLLs planted in its own or the current folder.
#include <string>

#include "support/win32/handles.h"

namespace velbrook::win32 {

// Restricts the DLL search path to the system folder where the system allows it
// (SetDefaultDllDirectories), otherwise removes the current folder from it.
void RestrictDllSearch();

// The system folder, without a trailing backslash.
std::string SystemDirectory();

// Loads a DLL by its plain file name from the system folder alone; the name
// stays bare so that side-by-side redirection (common controls 6) still
// applies. An empty Module for anything but a plain name, or on failure.
Module LoadSystemLibrary(const std::string& name);

// A function of a loaded module as its own pointer type; nullptr when the module
// is not loaded or lacks the function.
template <class Function> Function ProcAddress(HMODULE module, const char* name) {
    if (module == nullptr)
        return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

} // namespace velbrook::win32
