#include "support/win32/program_path.h"

#include "support/strings.h"
#include "support/win32/windows_ansi.h"

namespace velbrook::win32 {

std::string ProgramFilePath() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        // A full buffer means the name was cut: try again with more room.
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::string ProgramFolder() {
    const std::string path = ProgramFilePath();
    return path.empty() ? std::string() : ExtractPathPart(path, ppFolder);
}

} // namespace velbrook::win32
