#pragma once
// The shell's folder browser, system icon lookup and document opening, and the
// owner window that the program's dialogs use.
#include <cstdint>
#include <string>

#include "support/win32/windows_ansi.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

namespace velbrook::win32 {

// The main window registers itself once it exists (and clears with nullptr).
void SetMainWindowHandle(HWND window);
HWND MainWindowHandle();
// The main window, or the desktop window while there is none.
HWND DefaultOwnerWindow();

// Module state: the stored initial folder, the icon cache, and OLE with the
// shell allocator, which the first BrowseForFolder sets up on the calling (GUI)
// thread. ShellShutdown releases them on the same thread.
void ShellStartup();
void ShellShutdown();

// The chosen folder's file-system path; empty when cancelled or when the
// choice has no path.
std::string BrowseForFolder(const std::string& title, const std::string& initialFolder);

// Index into the system image list; the unknown-file icon when the shell has none.
int GetSystemIconIndex(const std::string& path, bool largeIcon, bool openIcon, bool queryFile);
int GetUnknownFileIconIndex();
// The system small image list (shared: never destroy it).
HIMAGELIST SystemSmallImages();

// ShellExecuteExA under the application-starting cursor. -1 on failure; the
// process exit code when waiting; otherwise the shell's hInstApp.
std::intptr_t ExecuteShell(const std::string& fileName, LPCITEMIDLIST itemList, bool useItemList,
                           const std::string& verb, const std::string& parameters,
                           const std::string& directory, bool wait);
std::intptr_t OpenDocument(const std::string& fileName, const std::string& verb,
                           const std::string& parameters, const std::string& directory, bool wait);

} // namespace velbrook::win32
