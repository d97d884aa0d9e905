#pragma once
// The entry sequence: at most one non-interactive action chosen from the
// command line, otherwise the graphical program.
#include <functional>
#include <string>
#include <vector>

#include "core/places_bar.h"
#include "core/places_file.h"
#include "core/schemes.h"

namespace velbrook {

// The actions the options run. Each returns true when the program is to end.
struct EntryActions {
    std::function<bool(const std::string& schemeName)> applyScheme = ApplyScheme;
    std::function<bool()> restoreDefaults = [] { return WritePlacesBar(nullptr); };
    std::function<bool(const std::string& fileName)> loadPlacesFile = LoadPlacesFile;
    // Returns when the main window has closed.
    std::function<void()> runMainWindow;
};

inline constexpr int kExitOk = 0;
inline constexpr int kExitError = 1;

// Tests "load", "default", "file" and "help"/"?" in that order whatever the
// argument order; a failed action opens the window. An error that escapes an
// action or the window's start is shown in a stop box and gives kExitError.
int RunEntrySequence(const std::vector<std::string>& arguments, const std::string& programPath,
                     const EntryActions& actions);

} // namespace velbrook
