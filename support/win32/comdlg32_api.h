#pragma once
// comdlg32, loaded from the system folder on first use so that the
// command-line actions start without it.
#include "support/win32/windows_ansi.h"

#include <commdlg.h>

namespace velbrook::win32::comdlg32 {

// GetOpenFileNameA; false, as for a cancelled dialog, when comdlg32 is missing.
bool OpenFileName(OPENFILENAMEA* dialog);

} // namespace velbrook::win32::comdlg32
