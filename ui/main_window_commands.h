#pragma once
// The window's commands in one table: the id, what runs it, the hint of its
// button, its shortcut and when it is enabled. The image buttons, the keyboard
// and the names that screen readers read all come from here.
#include <span>
#include <string>

#include "support/win32/windows_ansi.h"

namespace velbrook::ui {

class MainWindow;

// Where a shortcut works: with the places list focused, with the scheme box
// focused, or anywhere in the window.
enum class ShortcutScope { List, SchemeBox, Window };

struct Shortcut {
    UINT key = 0; // virtual key
    bool ctrl = false;
    ShortcutScope scope = ShortcutScope::Window;
};

struct Command {
    int id; // design::CommandId
    void (*run)(MainWindow& window);
    const char* hint;
    Shortcut shortcut;
    bool (*enabled)(const MainWindow& window) = nullptr; // nullptr: always enabled
    // Reads or changes the rows. While a row's editor is open, keys are the
    // editor's, so such a command is not started from the keyboard then.
    bool usesRows = true;
};

// The code of the WM_COMMAND (with no control) by which a shortcut runs its
// command, as an accelerator's.
inline constexpr WORD kShortcutCode = 1;

std::span<const Command> Commands();
// The command of that id; nullptr when there is none.
const Command* FindCommand(int id);
// The shortcut as hints show it: "Ctrl+Up", "Del".
std::string ShortcutText(const Shortcut& shortcut);
// The hint with its shortcut: "Move up (Ctrl+Up)".
std::string HintWithShortcut(const Command& command);

} // namespace velbrook::ui
