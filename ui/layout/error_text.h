#pragma once
// The text of the application's general error report.
#include <string>
#include <string_view>

namespace velbrook::ui::layout {

// The message with a full stop appended when it is not empty and its last
// character's code (unsigned) is greater than that of '.'.
std::string ErrorReportText(std::string_view message);

} // namespace velbrook::ui::layout
