#pragma once
// The system's message font: the font of the program's window and dialogs.
#include "support/win32/windows_ansi.h"

namespace velbrook::win32 {

// As the system gives it, for the system's resolution; the default GUI font
// where the system gives none.
LOGFONTA SystemMessageFont();

} // namespace velbrook::win32
