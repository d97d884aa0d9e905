#include "support/locale_text.h"

#include <algorithm>
#include <climits>
#include <optional>

#include "support/win32/windows_ansi.h"

namespace velbrook {

namespace {

bool IsAscii(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return (c & 0x80) == 0; });
}

// The text as the W functions take it, read in the process's code page; nullopt
// when it holds bytes that are no character there. The A functions would read
// it in the code page of the locale instead, which is not UTF-8 even where the
// process's is.
std::optional<std::wstring> Wide(std::string_view s) {
    if (s.empty())
        return std::wstring();
    if (s.size() > INT_MAX)
        return std::nullopt;
    const int size = static_cast<int>(s.size());
    const int count = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, s.data(), size, nullptr, 0);
    if (count <= 0)
        return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(count), L'\0');
    MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, s.data(), size, wide.data(), count);
    return wide;
}

std::string UpperAscii(std::string_view s) {
    std::string upper(s);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

int CompareUpperBytes(std::string_view a, std::string_view b) {
    const int result = UpperAscii(a).compare(UpperAscii(b));
    return result < 0 ? -1 : (result > 0 ? 1 : 0);
}

} // namespace

int CompareTextIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() > INT_MAX || b.size() > INT_MAX)
        return CompareUpperBytes(a, b);
    int result = 0;
    if (IsAscii(a) && IsAscii(b)) {
        result = CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(),
                                static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()));
    } else {
        const std::optional<std::wstring> wideA = Wide(a);
        const std::optional<std::wstring> wideB = Wide(b);
        if (!wideA || !wideB)
            return CompareUpperBytes(a, b);
        result = CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, wideA->data(),
                                static_cast<int>(wideA->size()), wideB->data(),
                                static_cast<int>(wideB->size()));
    }
    if (result == 0) // the comparison itself failed
        return CompareUpperBytes(a, b);
    return result - CSTR_EQUAL;
}

std::string UpperCaseText(std::string_view s) {
    // Plain ASCII upper-cases the same in every ANSI code page; leaving it to
    // CharUpperBuff would load user32 for the command-line actions.
    if (IsAscii(s))
        return UpperAscii(s);
    std::optional<std::wstring> wide = Wide(s);
    if (!wide)
        return UpperAscii(s);
    CharUpperBuffW(wide->data(), static_cast<DWORD>(wide->size()));
    const int size = static_cast<int>(wide->size());
    const int count =
        WideCharToMultiByte(CP_ACP, 0, wide->data(), size, nullptr, 0, nullptr, nullptr);
    std::string upper(static_cast<std::size_t>(count > 0 ? count : 0), '\0');
    if (count > 0)
        WideCharToMultiByte(CP_ACP, 0, wide->data(), size, upper.data(), count, nullptr, nullptr);
    return upper;
}

bool IsLeadByte(char c) {
    return IsDBCSLeadByte(static_cast<BYTE>(c)) != FALSE;
}

} // namespace velbrook
