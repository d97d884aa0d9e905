#include "support/folder_completion.h"

#include <cstdlib>
#include <filesystem>

namespace velbrook {

std::vector<std::string> SubfolderNames(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.is_directory(error))
            names.push_back(entry.path().filename().string());
    }
    return names;
}

std::string ExpandVariables(const std::string& text) {
    std::string expanded;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t open = text.find('%', at);
        const std::size_t close = open == std::string::npos ? open : text.find('%', open + 1);
        if (close == std::string::npos)
            break;
        const char* value = std::getenv(text.substr(open + 1, close - open - 1).c_str());
        expanded += text.substr(at, open - at);
        if (value != nullptr) {
            expanded += value;
            at = close + 1;
        } else {
            expanded += '%';
            at = open + 1;
        }
    }
    return expanded + text.substr(at);
}

} // namespace velbrook
