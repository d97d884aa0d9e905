#pragma once
// The command-line syntax message: eleven lines joined by a carriage return
// only, the way the message box shows them.
namespace velbrook::msg {

inline constexpr char kCommandLineSyntax[] =
    "COMMAND LINE SYNTAX\r"
    "\r"
    "velbrook.exe [-load:<scheme_name>]| [-file:<file_name>] | [default]\r"
    "  -load:<scheme_name> - load <scheme_name> and exit\r"
    "                        <scheme_name> - is an exact (case insensitive)\r"
    "                        name of any existing sheme.\r"
    "  -file:<file_name> - setup buttons using external file\r"
    "                      (see sample.ini for sample)\r"
    "                      If path to file contain spaces, don't forget\r"
    "                      to quote it!\r"
    "  -default - restore system-default settings";

} // namespace velbrook::msg
