#include "support/utf8.h"

namespace velbrook {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes the character at `at` and moves past it; a byte that starts no
// well-formed character gives nullopt and is passed over alone.
std::optional<char32_t> NextCharacter(std::string_view bytes, std::size_t& at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char first = byte(at);
    std::size_t length = 0;
    char32_t c = 0;
    char32_t lowest = 0;
    if (first < 0x80) {
        ++at;
        return first;
    } else if (first >= 0xC2 && first <= 0xDF) {
        length = 2, c = first & 0x1F, lowest = 0x80;
    } else if (first >= 0xE0 && first <= 0xEF) {
        length = 3, c = first & 0x0F, lowest = 0x800;
    } else if (first >= 0xF0 && first <= 0xF4) {
        length = 4, c = first & 0x07, lowest = 0x10000;
    } else {
        ++at;
        return std::nullopt;
    }
    if (bytes.size() - at < length) {
        ++at;
        return std::nullopt;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) {
            ++at;
            return std::nullopt;
        }
        c = (c << 6) | (byte(at + i) & 0x3F);
    }
    if (c < lowest || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ++at;
        return std::nullopt;
    }
    at += length;
    return c;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

} // namespace

bool IsUtf8(std::string_view bytes) {
    for (std::size_t at = 0; at < bytes.size();) {
        if (!NextCharacter(bytes, at))
            return false;
    }
    return true;
}

std::u16string Utf8ToUtf16(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size());
    for (std::size_t at = 0; at < bytes.size();) {
        const char32_t c = NextCharacter(bytes, at).value_or(kReplacement);
        if (c < 0x10000) {
            text += static_cast<char16_t>(c);
        } else {
            text += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            text += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        }
    }
    return text;
}

std::optional<std::string> Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            return std::nullopt;
        }
        AppendUtf8(out, c);
    }
    return out;
}

std::optional<std::u16string> Utf16WithByteOrderMark(std::string_view bytes) {
    const bool little = bytes.starts_with("\xFF\xFE");
    if (!little && !bytes.starts_with("\xFE\xFF"))
        return std::nullopt;
    std::u16string text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        text += static_cast<char16_t>(little ? first | (second << 8) : (first << 8) | second);
    }
    return text;
}

} // namespace velbrook
