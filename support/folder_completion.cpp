#include "support/folder_completion.h"

#include <algorithm>

#include "support/locale_text.h"

namespace velbrook {

std::vector<std::string> FolderCompletions(std::string_view typed) {
    const std::size_t separator = typed.find_last_of("\\/");
    if (separator == std::string_view::npos)
        return {};
    const std::string folder(typed.substr(0, separator + 1));
    const std::string_view start = typed.substr(separator + 1);
    std::vector<std::string> completions;
    for (const std::string& name : SubfolderNames(ExpandVariables(folder))) {
        if (name.size() >= start.size() &&
            SameTextIgnoreCase(std::string_view(name).substr(0, start.size()), start))
            completions.push_back(folder + name);
    }
    std::sort(
        completions.begin(), completions.end(),
        [](const std::string& a, const std::string& b) { return CompareTextIgnoreCase(a, b) < 0; });
    return completions;
}

} // namespace velbrook
