#include "support/win32/shell32_api.h"

#include "support/win32/dll_safety.h"

namespace velbrook::win32::shell32 {

namespace {

struct Library {
    // Stays loaded for the life of the process, like a library of the import table.
    HMODULE module = LoadSystemLibrary("shell32.dll").release();
    decltype(&SHBrowseForFolderA) browseForFolder =
        ProcAddress<decltype(&SHBrowseForFolderA)>(module, "SHBrowseForFolderA");
    decltype(&SHGetPathFromIDListA) pathFromIdList =
        ProcAddress<decltype(&SHGetPathFromIDListA)>(module, "SHGetPathFromIDListA");
    decltype(&SHGetFileInfoA) fileInfo =
        ProcAddress<decltype(&SHGetFileInfoA)>(module, "SHGetFileInfoA");
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

bool PathFromIdList(LPCITEMIDLIST list, char* path) {
    return Loaded().pathFromIdList && Loaded().pathFromIdList(list, path);
}

DWORD_PTR FileInfo(const char* path, DWORD attributes, SHFILEINFOA* info, UINT flags) {
    return Loaded().fileInfo ? Loaded().fileInfo(path, attributes, info, sizeof *info, flags) : 0;
}

HRESULT Allocator(IMalloc** allocator) {
    return Loaded().allocator ? Loaded().allocator(allocator) : E_NOTIMPL;
}

bool Execute(SHELLEXECUTEINFOA* info) {
    return Loaded().execute && Loaded().execute(info);
}

} // namespace velbrook::win32::shell32
