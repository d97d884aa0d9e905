#include "support/win32/dll_safety.h"

namespace velbrook::win32 {

namespace {

constexpr DWORD kSearchSystem32 = 0x00000800; // LOAD_LIBRARY_SEARCH_SYSTEM32

bool IsPlainFileName(const std::string& name) {
    return !name.empty() && name.find_first_of("\\/:") == std::string::npos && name != "." &&
           name != "..";
}

} // namespace

void RestrictDllSearch() {
    // Looked up at run time: older systems do not have it.
    const auto setDefault = ProcAddress<BOOL(WINAPI*)(DWORD)>(GetModuleHandleA("kernel32.dll"),
                                                              "SetDefaultDllDirectories");
    if (setDefault == nullptr || !setDefault(kSearchSystem32))
        SetDllDirectoryA("");
}

std::string SystemDirectory() {
    std::string path(MAX_PATH, '\0');
    UINT length = GetSystemDirectoryA(path.data(), static_cast<UINT>(path.size()));
    if (length >= path.size()) {
        path.resize(length);
        length = GetSystemDirectoryA(path.data(), static_cast<UINT>(path.size()));
    }
    path.resize(length < path.size() ? length : 0);
    if (!path.empty() && path.back() == '\\')
        path.pop_back();
    return path;
}

Module LoadSystemLibrary(const std::string& name) {
    if (!IsPlainFileName(name))
        return Module();
    HMODULE module = LoadLibraryExA(name.c_str(), nullptr, kSearchSystem32);
    if (module == nullptr && GetLastError() == ERROR_INVALID_PARAMETER)
        module = LoadLibraryA(name.c_str()); // an older system: RestrictDllSearch did what it could
    return Module(module);
}

} // namespace velbrook::win32
