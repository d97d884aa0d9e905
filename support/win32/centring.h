#pragma once
// Where the program's windows and dialogs first stand: centred on an area and
// kept inside the work area of a monitor.
#include "support/win32/windows_ansi.h"

namespace velbrook::win32 {

RECT WorkAreaOf(HMONITOR monitor);
// The top left corner of a window of the given size centred on `area` and kept
// inside `work`; one larger than `work` keeps its top left corner inside.
POINT CentredPosition(SIZE size, const RECT& area, const RECT& work);
// Moves the window to that place, keeping its size.
void MoveCentred(HWND window, const RECT& area, const RECT& work);

} // namespace velbrook::win32
