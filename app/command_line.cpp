#include "app/command_line.h"

#include <algorithm>
#include <optional>
#include <type_traits>

#include "support/code_page.h"
#include "support/locale_text.h"
#include "support/strings.h"

namespace velbrook {

namespace {

template <class Char> bool IsSeparator(Char c) {
    const auto code = static_cast<std::make_unsigned_t<Char>>(c);
    return code != 0 && code <= ' ';
}

template <class Char> bool IsArgumentChar(Char c) {
    return static_cast<std::make_unsigned_t<Char>>(c) > ' ';
}

// Reads one argument starting at pos; pos ends behind it.
template <class Char>
std::basic_string<Char> NextArgument(std::basic_string_view<Char> text, std::size_t& pos) {
    auto at = [&](std::size_t i) { return i < text.size() ? text[i] : Char(0); };
    for (;;) {
        while (IsSeparator(at(pos)))
            ++pos;
        if (at(pos) == '"' && at(pos + 1) == '"')
            pos += 2;
        else
            break;
    }
    std::basic_string<Char> argument;
    while (IsArgumentChar(at(pos))) {
        if (at(pos) == '"') {
            ++pos;
            while (at(pos) != 0 && at(pos) != '"')
                argument += text[pos++];
            if (at(pos) == '"')
                ++pos;
        } else {
            argument += text[pos++];
        }
    }
    return argument;
}

template <class Char> bool AtEnd(std::basic_string_view<Char> text, std::size_t pos) {
    return pos >= text.size() || text[pos] == 0;
}

template <class Char>
std::vector<std::basic_string<Char>> SplitArguments(std::basic_string_view<Char> rawCommandLine) {
    std::vector<std::basic_string<Char>> arguments;
    std::size_t pos = 0;
    NextArgument(rawCommandLine, pos); // the program name
    while (!AtEnd(rawCommandLine, pos)) {
        std::basic_string<Char> argument = NextArgument(rawCommandLine, pos);
        // Only a lone quote at the very end yields an empty argument.
        if (argument.empty() && AtEnd(rawCommandLine, pos))
            break;
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

std::string NamePart(const std::string& entry) {
    return StrBefore(entry, ":", false);
}

const std::string* FindOption(const ParamList& params, std::string_view name) {
    for (const std::string& entry : params) {
        if (SameTextIgnoreCase(NamePart(entry), name))
            return &entry;
    }
    return nullptr;
}

} // namespace

std::vector<std::string> SplitCommandLine(std::string_view rawCommandLine) {
    return SplitArguments(rawCommandLine);
}

std::vector<std::string> SplitCommandLine(std::u16string_view rawCommandLine,
                                          std::string& refused) {
    std::vector<std::string> arguments;
    for (const std::u16string& argument : SplitArguments(rawCommandLine)) {
        std::optional<std::string> text = Utf16ToAnsi(argument);
        if (!text && refused.empty())
            refused = Utf16ToAnsiLossy(argument);
        arguments.push_back(text ? std::move(*text) : Utf16ToAnsiLossy(argument));
    }
    return arguments;
}

std::u16string_view ArgumentsAfterProgramName(std::u16string_view rawCommandLine) {
    std::size_t pos = 0;
    NextArgument(rawCommandLine, pos);
    return rawCommandLine.substr(std::min(pos, rawCommandLine.size()));
}

bool OpensOnlyTheWindow(const ParamList& params) {
    const RunModifiers modifiers = ReadModifiers(params, "");
    return ChooseAction(params, "").action == Action::None && !modifiers.quiet && !modifiers.check;
}

ParamList BuildParamList(const std::vector<std::string>& arguments) {
    ParamList params;
    for (const std::string& argument : arguments) {
        if (argument.empty())
            continue;
        std::string_view text = argument;
        if (text.front() == '-' || text.front() == '/' || text.front() == '\\')
            text.remove_prefix(1);
        params.push_back(Dequote(TrimControl(text)));
    }
    return params;
}

bool HasOption(const ParamList& params, std::string_view name) {
    return FindOption(params, name) != nullptr;
}

std::string GetOptionValue(const ParamList& params, std::string_view name) {
    const std::string* entry = FindOption(params, name);
    return entry ? StrAfter(*entry, ":", true) : std::string();
}

std::string ResolveFileName(std::string_view fileName, std::string_view programPath) {
    const bool qualified = fileName.find(':') != std::string_view::npos ||
                           fileName.find("\\\\") != std::string_view::npos;
    if (fileName.empty() || qualified)
        return TrimControl(fileName);
    return ExtractPathPart(programPath, ppFolder) + TrimControl(fileName);
}

namespace {

std::string ResolvedValue(const ParamList& params, std::string_view name,
                          std::string_view programPath) {
    return ResolveFileName(Dequote(GetOptionValue(params, name)), programPath);
}

} // namespace

ChosenAction ChooseAction(const ParamList& params, std::string_view programPath) {
    if (HasOption(params, "load"))
        return {Action::Load, Dequote(GetOptionValue(params, "load"))};
    if (HasOption(params, "default"))
        return {Action::Default, {}};
    if (HasOption(params, "file"))
        return {Action::File, ResolvedValue(params, "file", programPath)};
    if (HasOption(params, "undo"))
        return {Action::Undo, {}};
    if (HasOption(params, "save"))
        return {Action::Save, ResolvedValue(params, "save", programPath)};
    if (HasOption(params, "help") || HasOption(params, "?"))
        return {Action::Help, {}};
    return {};
}

std::string_view ActionName(Action action) {
    switch (action) {
    case Action::Load:
        return "-load";
    case Action::Default:
        return "default";
    case Action::File:
        return "-file";
    case Action::Undo:
        return "-undo";
    case Action::Save:
        return "-save";
    case Action::Help:
        return "help";
    case Action::None:
        break;
    }
    return "";
}

RunModifiers ReadModifiers(const ParamList& params, std::string_view programPath) {
    RunModifiers modifiers;
    modifiers.quiet = HasOption(params, "quiet");
    modifiers.check = HasOption(params, "check");
    modifiers.log = HasOption(params, "log");
    if (modifiers.log)
        modifiers.logFile = ResolvedValue(params, "log", programPath);
    return modifiers;
}

} // namespace velbrook
