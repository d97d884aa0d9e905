// Off Windows the program's text is UTF-8 and the legacy code page is Windows-1252.
#include "support/code_page.h"

#include <algorithm>

#include "support/utf8.h"

namespace velbrook {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Windows-1252 from 0x80 to 0x9F; its five unused bytes map to the C1 controls,
// as Windows maps them.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::u16string Windows1252ToUtf16(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        text += b >= 0x80 && b < 0xA0 ? kWindows1252High[b - 0x80] : static_cast<char16_t>(b);
    }
    return text;
}

} // namespace

std::u16string AnsiToUtf16(std::string_view text) {
    return Utf8ToUtf16(text);
}

std::optional<std::string> Utf16ToAnsi(std::u16string_view text) {
    return Utf16ToUtf8(text);
}

std::string Utf16ToAnsiLossy(std::u16string_view text) {
    if (std::optional<std::string> exact = Utf16ToUtf8(text))
        return *exact;
    std::u16string repaired(text);
    for (std::size_t i = 0; i < repaired.size(); ++i) {
        const bool high = repaired[i] >= 0xD800 && repaired[i] <= 0xDBFF;
        const bool paired = high && i + 1 < repaired.size() && repaired[i + 1] >= 0xDC00 &&
                            repaired[i + 1] <= 0xDFFF;
        if (paired)
            ++i;
        else if (repaired[i] >= 0xD800 && repaired[i] <= 0xDFFF)
            repaired[i] = u'?';
    }
    return Utf16ToUtf8(repaired).value_or(std::string());
}

std::size_t CharacterBoundary(std::string_view text, std::size_t at) {
    at = std::min(at, text.size());
    while (at > 0 && at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80)
        --at;
    return at;
}

std::string TextFromFile(std::string_view bytes) {
    if (const std::optional<std::u16string> wide = Utf16WithByteOrderMark(bytes))
        return Utf16ToAnsiLossy(*wide);
    if (bytes.starts_with(kByteOrderMark))
        bytes.remove_prefix(kByteOrderMark.size());
    if (IsUtf8(bytes))
        return std::string(bytes);
    return Utf16ToAnsiLossy(Windows1252ToUtf16(bytes));
}

std::string TextForFile(std::string_view text) {
    return std::string(text);
}

} // namespace velbrook
