#pragma once
// ole32, loaded from the system folder on first use so that the command-line
// actions start without it. When it is missing, initialisation fails and
// nothing is freed through it.
#include "support/win32/windows_ansi.h"

namespace velbrook::win32::ole32 {

// True when OLE was initialised on the thread (to be undone with Uninitialize).
bool Initialize();
void Uninitialize();
void TaskMemFree(void* memory);

} // namespace velbrook::win32::ole32
