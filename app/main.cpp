// The Windows program: start-up state, the entry sequence and shut-down.
#include <string>

#include "app/command_line.h"
#include "app/entry.h"
#include "support/win32/dll_safety.h"
#include "support/win32/shell.h"
#include "support/win32/windows_ansi.h"
#include "ui/main_window.h"

#include <ole2.h>

namespace {

// OLE and the shell helpers' state for the life of the process.
class ProgramState {
  public:
    ProgramState() : oleInitialized_(SUCCEEDED(OleInitialize(nullptr))) {
        velbrook::win32::ShellStartup();
    }
    ProgramState(const ProgramState&) = delete;
    ProgramState& operator=(const ProgramState&) = delete;
    ~ProgramState() {
        velbrook::win32::ShellShutdown();
        if (oleInitialized_)
            OleUninitialize();
    }

  private:
    bool oleInitialized_;
};

// The full path of the program's executable, also beyond MAX_PATH.
std::string ProgramPath() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    velbrook::win32::RestrictDllSearch();
    const ProgramState state;

    velbrook::EntryActions actions;
    actions.runMainWindow = velbrook::RunMainWindow;
    return velbrook::RunEntrySequence(velbrook::SplitCommandLine(GetCommandLineA()), ProgramPath(),
                                      actions);
}
