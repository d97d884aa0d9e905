#pragma once
// The graphical program: creates the main window and runs until it closes.

namespace velbrook {

void RunMainWindow();

} // namespace velbrook
