// The command line from raw text to option values and file names.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/command_line.h"
#include "support/locale_text.h"
#include "support/strings.h"

namespace {

using namespace velbrook;

void Require(bool condition) {
    if (!condition)
        std::abort();
}

void CheckOption(const ParamList& params, const std::string& name) {
    const auto matches = [&](const std::string& entry) {
        return SameTextIgnoreCase(StrBefore(entry, ":", false), name);
    };
    const auto first = std::find_if(params.begin(), params.end(), matches);
    Require(HasOption(params, name) == (first != params.end()));
    const std::string value = GetOptionValue(params, name);
    Require(value == (first == params.end() ? std::string() : StrAfter(*first, ":", true)));
}

void CheckResolve(const std::string& fileName, const std::string& programPath) {
    const std::string resolved = ResolveFileName(fileName, programPath);
    const bool asGiven = fileName.empty() || fileName.find(':') != std::string::npos ||
                         fileName.find("\\\\") != std::string::npos;
    const std::string expected =
        asGiven ? TrimControl(fileName)
                : ExtractPathPart(programPath, ppFolder) + TrimControl(fileName);
    Require(resolved == expected);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string name = input.ConsumeRandomLengthString(16);
    const std::string programPath = input.ConsumeRandomLengthString(64);
    const std::string raw = input.ConsumeRemainingBytesAsString();

    const std::vector<std::string> arguments = SplitCommandLine(raw);
    for (const std::string& argument : arguments)
        Require(argument.find('"') == std::string::npos);

    const ParamList params = BuildParamList(arguments);
    const auto nonEmpty = std::count_if(arguments.begin(), arguments.end(),
                                        [](const std::string& a) { return !a.empty(); });
    Require(static_cast<std::ptrdiff_t>(params.size()) == nonEmpty);

    for (const char* option : {"load", "default", "file", "help", "?"})
        CheckOption(params, option);
    CheckOption(params, name);

    CheckResolve(Dequote(GetOptionValue(params, "file")), programPath);
    CheckResolve(raw.substr(0, 300), programPath);
    return 0;
}
