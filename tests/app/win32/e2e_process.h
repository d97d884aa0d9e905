#pragma once
// Runs velbrook.exe and the answer_box helper for the end-to-end tests. Every
// wait is bounded; a program that outlives its wait is terminated.
#include <string>

#include "support/win32/windows_ansi.h"

namespace velbrook::e2e {

// The bound of every wait on the program: only a failure reaches it.
inline constexpr DWORD kTimeoutMs = 30000;
// How often a wait looks again for what it waits for.
inline constexpr DWORD kPollMs = 10;
// The working folder of the program's runs.
inline constexpr char kWorkDir[] = "C:\\";

// The folder of the test program, where velbrook.exe and answer_box.exe are
// built; with a trailing backslash.
std::string BinFolder();

class ChildProcess {
  public:
    // Starts "<bin>\<exe>" (or exe itself when it names a folder) with the raw argument text, in
    // the folder workDir.
    ChildProcess(const std::string& exe, const std::string& arguments, const std::string& workDir);
    // Arguments in any language.
    ChildProcess(const std::string& exe, const std::wstring& arguments, const std::string& workDir);
    ChildProcess(ChildProcess&& other) noexcept;
    ChildProcess& operator=(ChildProcess&&) = delete;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();

    bool Started() const { return process_ != nullptr; }
    DWORD Id() const { return id_; }
    HANDLE Handle() const { return process_; }
    // The exit code, or -1 when it did not end in time (it is terminated then).
    long WaitForExit(DWORD timeoutMs);

  private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

struct AnsweredBox {
    bool answered = false;
    std::string caption;
    std::string text;
};

// Waits for a message box of the process, reads it and presses the button
// ("OK", "YES", "NO" or "CANCEL").
AnsweredBox AnswerMessageBox(const ChildProcess& process, const char* button);

// A top-level window of the process of that class: owned by `owner`, or any visible one.
HWND FindProcessWindow(DWORD processId, const char* className, HWND owner = nullptr);

// Waits for the program's main window, posts
// WM_CLOSE to it; false when the process ended or no window came in time.
bool CloseMainWindow(const ChildProcess& process, DWORD timeoutMs);

} // namespace velbrook::e2e
