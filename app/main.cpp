// The Windows program: start-up state, the entry sequence and shut-down.
#include <string>

#include "app/command_line.h"
#include "app/entry.h"
#include "support/win32/dll_safety.h"
#include "support/win32/program_path.h"
#include "support/win32/shell.h"
#include "support/win32/windows_ansi.h"
#include "ui/main_window.h"

namespace {

// The shell helpers' state for the life of the process. OLE is set up by the
// first shell call and released here with the rest.
class ProgramState {
  public:
    ProgramState() { velbrook::win32::ShellStartup(); }
    ProgramState(const ProgramState&) = delete;
    ProgramState& operator=(const ProgramState&) = delete;
    ~ProgramState() { velbrook::win32::ShellShutdown(); }
};

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    velbrook::win32::RestrictDllSearch();
    const ProgramState state;

    velbrook::EntryActions actions;
    actions.runMainWindow = velbrook::RunMainWindow;
    // Read as the system keeps it: the A form would turn characters that the
    // code page lacks into look-alikes, quotes and backslashes among them.
    const std::u16string_view commandLine(reinterpret_cast<const char16_t*>(GetCommandLineW()));
    const std::vector<std::string> arguments =
        velbrook::SplitCommandLine(commandLine, actions.refusedArgument);
    return velbrook::RunEntrySequence(arguments, velbrook::win32::ProgramFilePath(), actions);
}
