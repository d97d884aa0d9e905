#include "support/errors.h"

namespace velbrook {

namespace {

std::string ReplaceFirst(std::string_view format, std::string_view placeholder,
                         std::string_view replacement) {
    const std::size_t pos = format.find(placeholder);
    if (pos == std::string_view::npos)
        return std::string(format);
    std::string text(format.substr(0, pos));
    text.append(replacement);
    text.append(format.substr(pos + placeholder.size()));
    return text;
}

} // namespace

std::string FormatText(std::string_view format, std::string_view arg) {
    return ReplaceFirst(format, "%s", arg);
}

std::string FormatText(std::string_view format, std::string_view first, std::string_view second) {
    const std::size_t pos = format.find("%s");
    if (pos == std::string_view::npos)
        return std::string(format);
    // The second placeholder is looked for after the first, never inside the first argument.
    return std::string(format.substr(0, pos)) + std::string(first) +
           FormatText(format.substr(pos + 2), second);
}

std::string FormatText(std::string_view format, long long number) {
    return ReplaceFirst(format, "%d", std::to_string(number));
}

} // namespace velbrook
