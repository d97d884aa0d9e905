#pragma once
// Common controls 6 (visual styles) for the program's windows and boxes.
#include "support/win32/windows_ansi.h"

namespace velbrook::win32 {

// An activation context, active on the thread that made it until destruction.
class ActiveContext {
  public:
    explicit ActiveContext(const ACTCTXA& request);
    ActiveContext(const ActiveContext&) = delete;
    ActiveContext& operator=(const ActiveContext&) = delete;
    ~ActiveContext();

    // False when the context could not be made or activated.
    bool Active() const { return context_ != INVALID_HANDLE_VALUE; }

  private:
    HANDLE context_ = INVALID_HANDLE_VALUE;
    ULONG_PTR cookie_ = 0;
};

// The program's manifest leaves common controls 6 out, so that the command-line
// actions start without resolving it; this activates it, from the program's
// second manifest resource, for the calling thread's windows and dialogs from
// now on. Call before the first window or box. Later calls, and calls in a
// program without that resource, do nothing.
void UseVisualStyles();

} // namespace velbrook::win32
