#pragma once
// Runs velbrook.exe as a script does: standard output and error on pipes, and
// a watch for any window that it shows while it runs.
#include <string>

#include "support/win32/handles.h"
#include "support/win32/windows_ansi.h"

namespace velbrook::e2e {

struct ScriptRun {
    long exitCode = -1; // -1: it did not end in time and was terminated
    std::string out, err;
    // A visible top-level window of the program appeared while it ran.
    bool showedWindow = false;
};

class ScriptProcess {
  public:
    // Starts "<bin>\velbrook.exe <arguments>" in workDir.
    ScriptProcess(const std::string& arguments, const std::string& workDir);
    ScriptProcess(ScriptProcess&&) noexcept = default;
    ScriptProcess(const ScriptProcess&) = delete;
    ScriptProcess& operator=(const ScriptProcess&) = delete;
    ~ScriptProcess();

    bool Started() const { return static_cast<bool>(process_); }
    // Reads its output and watches its windows until it ends, at most timeoutMs.
    ScriptRun Finish(DWORD timeoutMs);

  private:
    bool Drain(HANDLE pipe, std::string& text);

    win32::KernelObject process_;
    DWORD id_ = 0;
    win32::KernelObject out_, err_; // the reading ends
};

inline ScriptRun RunScript(const std::string& arguments, DWORD timeoutMs,
                           const std::string& workDir = "C:\\") {
    ScriptProcess process(arguments, workDir);
    return process.Finish(timeoutMs);
}

} // namespace velbrook::e2e
