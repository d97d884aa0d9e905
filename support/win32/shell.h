#pragma once
// The shell's folder browser, system icon lookup and document opening, and the
// owner window that the program's dialogs use.
#include <cstdint>
#include <optional>
#include <string>

#include "support/dialogs.h"
#include "support/win32/handles.h"

#include "support/win32/windows_ansi.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

namespace velbrook::win32 {

// An item identifier list returned by the shell, freed with the shell allocator.
struct ItemIdListTraits {
    static void Close(LPITEMIDLIST list);
};
using ItemIdList = UniqueHandle<LPITEMIDLIST, ItemIdListTraits>;

// The item identifier list of a special folder (CSIDL_...); empty when the
// system has no such folder.
ItemIdList SpecialFolderLocation(int csidl);

// The main window registers itself once it exists (and clears with nullptr).
void SetMainWindowHandle(HWND window);
HWND MainWindowHandle();
// The main window, or the desktop window while there is none.
HWND DefaultOwnerWindow();

// The shell wants OLE on the calling thread. Set up on the first call into the
// shell (always on the one GUI thread), so that the command-line actions,
// which never call it, start without OLE.
void PrepareShell();

// Module state: the stored initial folder, the icon cache, and OLE with the
// shell allocator, which the first BrowseForFolder sets up on the calling (GUI)
// thread. ShellShutdown releases them on the same thread.
void ShellStartup();
void ShellShutdown();

// The chosen folder's file-system path, or the number of a chosen special
// folder that has none; neither when cancelled.
BrowsedFolder BrowseForFolder(const std::string& title, const std::string& initialFolder);
// The folder's file-system path in the program's text; nullopt when it has none
// or the code page cannot hold it.
std::optional<std::string> FolderPathOf(LPCITEMIDLIST folder);

// What GetSystemIconIndex asks the shell for; flags, combined with |.
enum IconRequest : unsigned {
    kSmallIcon = 0, // of the real file or folder
    kLargeIcon = 1,
    kOpenIcon = 2,       // a folder's open look
    kIconByNameOnly = 4, // from the name alone, without looking at the disk
};

// Index into the system image list; the unknown-file icon when the shell has none.
int GetSystemIconIndex(const std::string& path, unsigned request = kSmallIcon);
int GetUnknownFileIconIndex();
// The shell's warning icon at that size (the system's where the shell has none).
Icon WarningIcon(int size);
// The system small image list (shared: never destroy it).
HIMAGELIST SystemSmallImages();
// The system large image list, by the same indexes (shared: never destroy it).
HIMAGELIST SystemLargeImages();

// ShellExecuteExA under the application-starting cursor. -1 on failure; the
// process exit code when waiting; otherwise the shell's hInstApp.
std::intptr_t ExecuteShell(const std::string& fileName, LPCITEMIDLIST itemList, bool useItemList,
                           const std::string& verb, const std::string& parameters,
                           const std::string& directory, bool wait);
std::intptr_t OpenDocument(const std::string& fileName, const std::string& verb,
                           const std::string& parameters, const std::string& directory, bool wait);

} // namespace velbrook::win32
