#pragma once
// Runs velbrook.exe as a script does: standard output and error on pipes, and
// a watch for any window that it shows while it runs.
#include <string>

#include "support/win32/windows_ansi.h"

namespace velbrook::e2e {

struct ScriptRun {
    long exitCode = -1; // -1: it did not end in time and was terminated
    std::string out, err;
    bool showedWindow = false; // a visible top-level window of it appeared
};

// Runs velbrook.exe, or another program of the test's folder, with the arguments.
ScriptRun RunScript(const std::string& arguments, DWORD timeoutMs,
                    const std::string& program = "velbrook.exe");

} // namespace velbrook::e2e
