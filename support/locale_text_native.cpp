#include "support/locale_text.h"

#include <algorithm>

namespace velbrook {

namespace {

// Upper case of ASCII and the Windows-1252 letters.
unsigned char UpperByte(unsigned char c) {
    if (c >= 'a' && c <= 'z')
        return static_cast<unsigned char>(c - ('a' - 'A'));
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return static_cast<unsigned char>(c - 0x20);
    switch (c) {
    case 0x9A:
        return 0x8A;
    case 0x9C:
        return 0x8C;
    case 0x9E:
        return 0x8E;
    case 0xFF:
        return 0x9F;
    default:
        return c;
    }
}

} // namespace

int CompareTextIgnoreCase(std::string_view a, std::string_view b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const unsigned char ua = UpperByte(static_cast<unsigned char>(a[i]));
        const unsigned char ub = UpperByte(static_cast<unsigned char>(b[i]));
        if (ua != ub)
            return ua < ub ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

std::string UpperCaseText(std::string_view s) {
    std::string upper(s);
    for (char& c : upper)
        c = static_cast<char>(UpperByte(static_cast<unsigned char>(c)));
    return upper;
}

bool IsLeadByte(char) {
    return false;
}

} // namespace velbrook
