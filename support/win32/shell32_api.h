#pragma once
// shell32, loaded from the system folder on first use so that the command-line
// actions start without it. When the library or a function is missing, each
// call fails the way the function itself reports failure.
#include "support/win32/windows_ansi.h"

#include <shellapi.h>
#include <shlobj.h>

namespace velbrook::win32::shell32 {

LPITEMIDLIST BrowseForFolder(BROWSEINFOA* info);
bool PathFromIdList(LPCITEMIDLIST list, char* path);
DWORD_PTR FileInfo(const char* path, DWORD attributes, SHFILEINFOA* info, UINT flags);
HRESULT Allocator(IMalloc** allocator);
bool Execute(SHELLEXECUTEINFOA* info);

} // namespace velbrook::win32::shell32
