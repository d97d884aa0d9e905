#pragma once
// Completion of folder paths in an edit control, by the system's autocomplete
// object with the program's own folder list.
#include "support/win32/windows_ansi.h"

namespace velbrook::win32 {

// Offers the folders that match what is typed (FolderCompletions), where the
// system has the autocomplete object; the object stays with the edit control
// until it is destroyed. Listing a folder that does not answer (a share that
// is offline) is given up after a moment, so typing never waits for it.
void OfferFolderCompletion(HWND edit);

} // namespace velbrook::win32
