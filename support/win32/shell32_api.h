#pragma once
// shell32, loaded from the system folder on first use so that the command-line
// actions start without it. When the library or a function is missing, each
// call fails the way the function itself reports failure.
#include "support/win32/windows_ansi.h"

#include <shellapi.h>
#include <shlobj.h>

namespace velbrook::win32::shell32 {

LPITEMIDLIST BrowseForFolder(BROWSEINFOA* info);
// SHGetPathFromIDListW: path has room for MAX_PATH characters.
bool PathFromIdList(LPCITEMIDLIST list, wchar_t* path);
DWORD_PTR FileInfo(const char* path, DWORD attributes, SHFILEINFOA* info, UINT flags);
DWORD_PTR FileInfo(const wchar_t* path, DWORD attributes, SHFILEINFOW* info, UINT flags);
// SHGetSpecialFolderLocation; nullptr when the system has no such folder.
LPITEMIDLIST SpecialFolderLocation(int csidl);
bool SameIdLists(LPCITEMIDLIST a, LPCITEMIDLIST b);
HRESULT Allocator(IMalloc** allocator);
bool Execute(SHELLEXECUTEINFOA* info);

} // namespace velbrook::win32::shell32
