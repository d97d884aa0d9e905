// Runs the entry sequence with a "default" action that calls a function of a
// DLL that no Windows has, delay-loaded as velbrook.exe loads its late DLLs and
// failing through the same hook: the run must end with its message and exit
// code 1, and a quiet run must show no box.
#include <string>
#include <vector>

#include "app/entry.h"
#include "support/win32/windows_ansi.h"

extern "C" __declspec(dllimport) int WINAPI VelbrookMissingFunction();

int main(int argc, char** argv) {
    velbrook::EntryActions actions;
    actions.restoreDefaults = [] { return VelbrookMissingFunction() != 0; };
    actions.runMainWindow = [] {};
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return velbrook::RunEntrySequence(arguments, "C:\\velbrook.exe", actions);
}
