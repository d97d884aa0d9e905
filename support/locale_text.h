#pragma once
// Case-insensitive comparison and upper-casing of ANSI text under the user's
// locale: CompareString with NORM_IGNORECASE and CharUpperBuff on Windows, on
// the text read in the process's code page; ASCII plus the letters of
// Windows-1252 elsewhere.
#include <string>
#include <string_view>

namespace velbrook {

// <0, 0 or >0, as CompareString(LOCALE_USER_DEFAULT, NORM_IGNORECASE) - 2.
int CompareTextIgnoreCase(std::string_view a, std::string_view b);
inline bool SameTextIgnoreCase(std::string_view a, std::string_view b) {
    return CompareTextIgnoreCase(a, b) == 0;
}
std::string UpperCaseText(std::string_view s);
// True for the first byte of a double-byte character in the ANSI code page.
bool IsLeadByte(char c);

} // namespace velbrook
