#pragma once
// Where the running program's executable lives, also beyond MAX_PATH.
#include <string>

namespace velbrook::win32 {

// The full path of the program's executable; empty when it cannot be read.
std::string ProgramFilePath();
// Its folder with a trailing backslash; empty when the path cannot be read.
std::string ProgramFolder();

} // namespace velbrook::win32
