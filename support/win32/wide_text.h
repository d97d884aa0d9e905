#pragma once
// The program's ANSI text and the wide text of the W functions, converted in
// the process's ANSI code page.
#include <optional>
#include <string>
#include <string_view>

namespace velbrook::win32 {

// Bytes that stand for no character of the code page become U+FFFD.
std::wstring WideFromAnsi(std::string_view text);
// nullopt when the code page cannot hold the text exactly.
std::optional<std::string> AnsiFromWide(std::wstring_view text);
// With the code page's stand-in for what it cannot hold.
std::string AnsiFromWideLossy(std::wstring_view text);

} // namespace velbrook::win32
