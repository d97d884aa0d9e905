#include "ui/layout/error_text.h"

namespace velbrook::ui::layout {

std::string ErrorReportText(std::string_view message) {
    std::string text(message);
    if (!text.empty() && static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.'))
        text += '.';
    return text;
}

} // namespace velbrook::ui::layout
