#pragma once
// Common controls 6 (visual styles) for the program's windows and boxes.

namespace velbrook::win32 {

// The program's manifest leaves common controls 6 out, so that the command-line
// actions start without resolving it; this activates it, from the program's
// second manifest resource, for the calling thread's windows and dialogs from
// now on. Call before the first window or box. Later calls, and calls in a
// program without that resource, do nothing.
void UseVisualStyles();

} // namespace velbrook::win32
