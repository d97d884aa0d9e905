#pragma once
// UTF-8 and UTF-16 without the platform: checking and converting.
#include <optional>
#include <string>
#include <string_view>

namespace velbrook {

// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates).
bool IsUtf8(std::string_view bytes);
// Bytes that are not UTF-8 become U+FFFD, one per bad byte.
std::u16string Utf8ToUtf16(std::string_view bytes);
// The text of bytes that start with a UTF-16 byte-order mark, little- or
// big-endian (the mark dropped, an odd last byte ignored); nullopt without one.
std::optional<std::u16string> Utf16WithByteOrderMark(std::string_view bytes);
// nullopt when the text holds a surrogate without its pair.
std::optional<std::string> Utf16ToUtf8(std::u16string_view text);

} // namespace velbrook
