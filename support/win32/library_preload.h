#pragma once
// Loads a system DLL on a thread of its own while the caller goes on.
#include "support/win32/handles.h"

namespace velbrook::win32 {

// Starts loading `name` from the system folder in the calling thread's activation
// context, so that side-by-side redirection (common controls 6) picks the same
// DLL the caller gets. The DLL stays loaded for the life of the process; a later
// LoadLibrary of it waits for the load and then finds it. When no thread can be
// started nothing is loaded here and the caller's first use loads the DLL.
// `name` must stay valid until the load has finished.
class LibraryPreload {
  public:
    explicit LibraryPreload(const char* name);
    LibraryPreload(const LibraryPreload&) = delete;
    LibraryPreload& operator=(const LibraryPreload&) = delete;
    ~LibraryPreload() { Wait(); }

    // Returns once the load has finished (or failed).
    void Wait();

  private:
    KernelObject thread_;
};

} // namespace velbrook::win32
