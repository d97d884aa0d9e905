#include "support/locale_text.h"

#include <algorithm>
#include <climits>

#include "support/win32/windows_ansi.h"

namespace velbrook {

namespace {

int CompareUpperBytes(std::string_view a, std::string_view b) {
    const int result = UpperCaseText(a).compare(UpperCaseText(b));
    return result < 0 ? -1 : (result > 0 ? 1 : 0);
}

} // namespace

int CompareTextIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() > INT_MAX || b.size() > INT_MAX)
        return CompareUpperBytes(a, b);
    const int result =
        CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                       b.data(), static_cast<int>(b.size()));
    if (result == 0) // the comparison itself failed
        return CompareUpperBytes(a, b);
    return result - CSTR_EQUAL;
}

std::string UpperCaseText(std::string_view s) {
    std::string upper(s);
    // Plain ASCII upper-cases the same in every ANSI code page; leaving it to
    // CharUpperBuffA would load user32 for the command-line actions.
    if (std::all_of(upper.begin(), upper.end(), [](char c) { return (c & 0x80) == 0; })) {
        for (char& c : upper)
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 'a' + 'A');
        return upper;
    }
    std::size_t done = 0;
    while (done < upper.size()) {
        // CharUpperBuffA takes a 32-bit count; never split a double-byte character.
        std::size_t chunk = std::min<std::size_t>(upper.size() - done, 0x40000000u);
        if (done + chunk < upper.size() && IsLeadByte(upper[done + chunk - 1]))
            --chunk;
        CharUpperBuffA(upper.data() + done, static_cast<DWORD>(chunk));
        done += chunk;
    }
    return upper;
}

bool IsLeadByte(char c) {
    return IsDBCSLeadByte(static_cast<BYTE>(c)) != FALSE;
}

} // namespace velbrook
