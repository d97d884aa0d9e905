#include "support/folder_completion.h"

#include "support/win32/handles.h"
#include "support/win32/wide_text.h"
#include "support/win32/windows_ansi.h"

namespace velbrook {
namespace {

struct FindTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { FindClose(h); }
};
using FindHandle = win32::UniqueHandle<HANDLE, FindTraits>;

} // namespace

std::vector<std::string> SubfolderNames(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found{};
    std::wstring pattern = win32::WideFromAnsi(folder);
    if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/')
        pattern += L'\\';
    pattern += L'*';
    const FindHandle search(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found,
                                             FindExSearchLimitToDirectories, nullptr, 0));
    if (!search)
        return names;
    do {
        const std::wstring_view name = found.cFileName;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 || name == L"." ||
            name == L"..")
            continue;
        // A name that the code page cannot hold could not be typed back either.
        if (std::optional<std::string> text = win32::AnsiFromWide(name))
            names.push_back(std::move(*text));
    } while (FindNextFileW(search.get(), &found));
    return names;
}

std::string ExpandVariables(const std::string& text) {
    const DWORD size = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
    if (size == 0)
        return text;
    std::string expanded(size, '\0');
    const DWORD written = ExpandEnvironmentStringsA(text.c_str(), expanded.data(), size);
    if (written == 0 || written > size)
        return text;
    expanded.resize(written - 1);
    return expanded;
}

} // namespace velbrook
