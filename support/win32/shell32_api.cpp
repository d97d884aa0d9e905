#include "support/win32/shell32_api.h"

#include "support/win32/dll_safety.h"

namespace velbrook::win32::shell32 {

namespace {

struct Library {
    // Stays loaded for the life of the process, like a library of the import table.
    HMODULE module = LoadSystemLibrary("shell32.dll").release();
    decltype(&SHBrowseForFolderA) browseForFolder =
        ProcAddress<decltype(&SHBrowseForFolderA)>(module, "SHBrowseForFolderA");
    decltype(&SHGetPathFromIDListW) pathFromIdList =
        ProcAddress<decltype(&SHGetPathFromIDListW)>(module, "SHGetPathFromIDListW");
    decltype(&SHGetFileInfoA) fileInfo =
        ProcAddress<decltype(&SHGetFileInfoA)>(module, "SHGetFileInfoA");
    decltype(&SHGetFileInfoW) fileInfoW =
        ProcAddress<decltype(&SHGetFileInfoW)>(module, "SHGetFileInfoW");
    decltype(&SHGetSpecialFolderLocation) specialFolderLocation =
        ProcAddress<decltype(&SHGetSpecialFolderLocation)>(module, "SHGetSpecialFolderLocation");
    decltype(&ILIsEqual) sameIdLists = ProcAddress<decltype(&ILIsEqual)>(module, "ILIsEqual");
    decltype(&SHGetMalloc) allocator = ProcAddress<decltype(&SHGetMalloc)>(module, "SHGetMalloc");
    decltype(&ShellExecuteExA) execute =
        ProcAddress<decltype(&ShellExecuteExA)>(module, "ShellExecuteExA");
};

const Library& Loaded() {
    static const Library library;
    return library;
}

} // namespace

LPITEMIDLIST BrowseForFolder(BROWSEINFOA* info) {
    return Loaded().browseForFolder ? Loaded().browseForFolder(info) : nullptr;
}

bool PathFromIdList(LPCITEMIDLIST list, wchar_t* path) {
    return Loaded().pathFromIdList && Loaded().pathFromIdList(list, path);
}

DWORD_PTR FileInfo(const char* path, DWORD attributes, SHFILEINFOA* info, UINT flags) {
    return Loaded().fileInfo ? Loaded().fileInfo(path, attributes, info, sizeof *info, flags) : 0;
}

DWORD_PTR FileInfo(const wchar_t* path, DWORD attributes, SHFILEINFOW* info, UINT flags) {
    return Loaded().fileInfoW ? Loaded().fileInfoW(path, attributes, info, sizeof *info, flags) : 0;
}

LPITEMIDLIST SpecialFolderLocation(int csidl) {
    LPITEMIDLIST list = nullptr;
    if (!Loaded().specialFolderLocation ||
        FAILED(Loaded().specialFolderLocation(nullptr, csidl, &list)))
        return nullptr;
    return list;
}

bool SameIdLists(LPCITEMIDLIST a, LPCITEMIDLIST b) {
    return Loaded().sameIdLists && Loaded().sameIdLists(a, b);
}

HRESULT Allocator(IMalloc** allocator) {
    return Loaded().allocator ? Loaded().allocator(allocator) : E_NOTIMPL;
}

bool Execute(SHELLEXECUTEINFOA* info) {
    return Loaded().execute && Loaded().execute(info);
}

} // namespace velbrook::win32::shell32
