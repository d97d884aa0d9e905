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
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    // Looked up at run time: older systems do not have it.
    const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    const FARPROC found =
        kernel != nullptr ? GetProcAddress(kernel, "SetDefaultDllDirectories") : nullptr;
    if (found != nullptr) {
        const auto setDefault =
            reinterpret_cast<SetDefaultDllDirectoriesFunction>(reinterpret_cast<void (*)()>(found));
        if (setDefault(kSearchSystem32))
            return;
    }
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

HMODULE LoadSystemDll(const char* name) {
    HMODULE module = LoadLibraryExA(name, nullptr, kSearchSystem32);
    if (module == nullptr && GetLastError() == ERROR_INVALID_PARAMETER)
        module = LoadLibraryA(name); // an older system: RestrictDllSearch did what it could
    return module;
}

Module LoadSystemLibrary(const std::string& name) {
    const std::string folder = SystemDirectory();
    if (folder.empty() || !IsPlainFileName(name))
        return Module();
    const std::string path = folder + '\\' + name;
    return Module(LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
}

} // namespace velbrook::win32
