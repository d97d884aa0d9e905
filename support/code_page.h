#pragma once
// The program's text is 8-bit text in the process's ANSI code page: UTF-8 where
// Windows offers it (the manifest asks for it), the system's legacy code page
// on older systems. These convert between that text and UTF-16, and between it
// and the bytes of text files.
#include <optional>
#include <string>
#include <string_view>

namespace velbrook {

// Bytes that stand for no character of the code page become U+FFFD.
std::u16string AnsiToUtf16(std::string_view text);
// nullopt when the code page cannot hold the text exactly.
std::optional<std::string> Utf16ToAnsi(std::u16string_view text);
// As Utf16ToAnsi, with the code page's stand-in for what it cannot hold (never
// a look-alike character).
std::string Utf16ToAnsiLossy(std::u16string_view text);

// The largest position, at most `at`, where the text can be cut without
// splitting a character of the code page.
std::size_t CharacterBoundary(std::string_view text, std::size_t at);

// The text of a file: UTF-16 after its byte-order mark, UTF-8 (a byte-order
// mark dropped), or, when the bytes are not UTF-8, the system's legacy ANSI
// code page, as older programs wrote it. Raises Error naming the first line
// that the process's code page cannot hold exactly.
std::string TextFromFile(std::string_view bytes);
// The bytes of a file for the text: UTF-8 without a byte-order mark, so text
// of plain ASCII stays byte for byte.
std::string TextForFile(std::string_view text);

} // namespace velbrook
