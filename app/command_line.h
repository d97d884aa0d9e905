#pragma once
// The command line: splitting the raw text into arguments, the cleaned
// parameter list and the option lookups on it.
#include <string>
#include <string_view>
#include <vector>

namespace velbrook {

// Arguments after the program name. Blanks and control characters separate;
// double quotes toggle a stretch that may hold blanks and are dropped; pairs of
// double quotes before an argument are skipped; backslashes are plain text.
std::vector<std::string> SplitCommandLine(std::string_view rawCommandLine);
// The same rules on the command line as the system keeps it (UTF-16), each
// argument then in the ANSI code page. An argument that the code page cannot
// hold exactly comes with stand-ins, and the first one is also put in `refused`
// (left as it was when every argument converts).
std::vector<std::string> SplitCommandLine(std::u16string_view rawCommandLine, std::string& refused);

// Cleaned entries of the form <name>[:<value>], in argument order.
using ParamList = std::vector<std::string>;

// What follows the program name, split off by the rules above, untouched.
std::u16string_view ArgumentsAfterProgramName(std::u16string_view rawCommandLine);

// Drops empty arguments, removes one prefix character (-, / or \), trims
// blanks and control characters and dequotes each one.
ParamList BuildParamList(const std::vector<std::string>& arguments);

// Option names compare without regard to case under the user's locale.
bool HasOption(const ParamList& params, std::string_view name);
// The text after the first colon of the first matching entry; empty when none.
std::string GetOptionValue(const ParamList& params, std::string_view name);

// A plain relative name is taken relative to the program's folder; a name with a
// colon or a double backslash (drive or UNC) is used as it stands.
std::string ResolveFileName(std::string_view fileName, std::string_view programPath);

enum class Action { None, Load, Default, File, Undo, Save, Help };

struct ChosenAction {
    Action action = Action::None;
    // The dequoted scheme name, or the resolved file name (empty when no value was given).
    std::string argument;
};

// The one action of a run: the options are tested in the order load, default,
// file, undo, save, help or ?, whatever the order of the arguments.
ChosenAction ChooseAction(const ParamList& params, std::string_view programPath);
// The action as the command line writes it ("-load", "default", ...); "" for none.
std::string_view ActionName(Action action);

// Options that change how any action runs.
struct RunModifiers {
    bool quiet = false;
    // The action is only compared with the places bar: nothing is written.
    bool check = false;
    bool log = false;
    std::string logFile; // resolved as for file; empty when no value was given
};

RunModifiers ReadModifiers(const ParamList& params, std::string_view programPath);

// True when a run does nothing but open the window: no action, no quiet, no check.
bool OpensOnlyTheWindow(const ParamList& params);

} // namespace velbrook
