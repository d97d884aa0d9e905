#pragma once
// The entry sequence: at most one non-interactive action chosen from the
// command line, otherwise the graphical program.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/places_bar.h"
#include "core/places_file.h"
#include "core/schemes.h"
#include "support/console.h"
#include "support/process_account.h"

namespace velbrook {

// The actions the options run. Each returns true when the program is to end.
struct EntryActions {
    std::function<bool(const std::string& schemeName)> applyScheme = ApplyScheme;
    std::function<bool()> restoreDefaults = [] { return WritePlacesBar(nullptr); };
    std::function<bool(const std::string& fileName)> loadPlacesFile = LoadPlacesFile;
    std::function<bool()> undo = UndoPlacesBarChange;
    std::function<bool(const std::string& fileName)> savePlacesFile = SavePlacesBarToFile;
    // Returns when the main window has closed.
    std::function<void()> runMainWindow;
    // Where a run writes what it may not show in a window.
    std::function<void(std::string_view)> writeOutput = WriteStandardOutput;
    std::function<void(std::string_view)> writeError = WriteStandardError;
    // The system's own account the run has, or empty for a person's.
    std::function<std::string()> serviceAccount = ServiceAccountName;
    // An argument that the ANSI code page could not hold exactly (empty: none).
    // A look-alike could name another file or folder, so the run does nothing.
    std::string refusedArgument;
};

inline constexpr int kExitOk = 0;
inline constexpr int kExitError = 1;
// A check whose action would change the places bar.
inline constexpr int kExitDiffers = 2;

// True while a run with "quiet" is under way: nothing may wait for a person.
bool IsQuietRun();

// Tests "load", "default", "file", "undo", "save" and "help"/"?" in that order
// whatever the argument order; a failed action opens the window. An error that
// escapes an action or the window's start is shown in a stop box and gives
// kExitError.
//
// With "quiet" nothing is shown: each message becomes a line on standard
// error, the syntax goes to standard output ("help") or standard error (no
// action), the window never opens, and the exit code is kExitError whenever
// the action was not done. With "log:<file>" one line about the run is
// appended to that file; a log that cannot be written costs a line on
// standard error and nothing else.
//
// With "check" the action (load, default, file or undo) writes nothing: each
// slot it would change is a line on standard output, and the exit code is
// kExitOk when the places bar already is what the action makes it,
// kExitDiffers when it would change, kExitError when that cannot be told. A
// run as one of the system's own accounts does nothing but say so on standard
// error, and gives kExitError.
int RunEntrySequence(const std::vector<std::string>& arguments, const std::string& programPath,
                     const EntryActions& actions);

} // namespace velbrook
