#include "ui/controls/comctl_version.h"

#include <vector>

#include "support/messages.h"
#include "support/win32/windows_ansi.h"

namespace velbrook::ui {

bool VersionAtLeast(const FileVersion& file, const FileVersion& required) {
    for (std::size_t i = 0; i < file.size(); ++i) {
        if (file[i] != required[i])
            return file[i] > required[i];
    }
    return true;
}

std::optional<FileVersion> ReadFileVersion(const std::string& fileName) {
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(fileName.c_str(), &handle);
    if (size == 0)
        return std::nullopt;
    std::vector<char> data(size);
    if (!GetFileVersionInfoA(fileName.c_str(), 0, size, data.data()))
        return std::nullopt;
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&info), &length) ||
        info == nullptr || length < sizeof(VS_FIXEDFILEINFO))
        return std::nullopt;
    return FileVersion{HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS),
                       HIWORD(info->dwFileVersionLS), LOWORD(info->dwFileVersionLS)};
}

bool CheckDllVersion(const std::string& fileName, std::uint16_t required1, std::uint16_t required2,
                     std::uint16_t required3, std::uint16_t required4) {
    const auto version = ReadFileVersion(fileName);
    return version && VersionAtLeast(*version, {required1, required2, required3, required4});
}

void RequireComCtlVersion(const std::optional<FileVersion>& comctl) {
    if (!comctl || !VersionAtLeast(*comctl, kRequiredComCtlVersion))
        throw OldCommonControlsError(msg::kOldComCtl);
}

} // namespace velbrook::ui
