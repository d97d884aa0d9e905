#include <algorithm>
#include <climits>
#include <cstdlib>

#include "support/code_page.h"
#include "support/errors.h"
#include "support/messages.h"
#include "support/strings.h"
#include "support/utf8.h"
#include "support/win32/wide_text.h"
#include "support/win32/windows_ansi.h"

namespace velbrook {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool ProcessUsesUtf8() {
    return GetACP() == CP_UTF8;
}

// The ANSI code page of the system's locale, which the process had before its
// manifest asked for UTF-8.
UINT LegacyCodePage() {
    char number[8] = {};
    if (GetLocaleInfoA(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, number, sizeof number) >
        0) {
        const UINT codePage = static_cast<UINT>(std::strtoul(number, nullptr, 10));
        if (codePage != 0 && IsValidCodePage(codePage))
            return codePage;
    }
    return 1252;
}

std::wstring Widen(UINT codePage, std::string_view bytes) {
    if (bytes.empty() || bytes.size() > INT_MAX)
        return {};
    const int size = static_cast<int>(bytes.size());
    const int count = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(count > 0 ? count : 0), L'\0');
    if (count > 0)
        MultiByteToWideChar(codePage, 0, bytes.data(), size, wide.data(), count);
    return wide;
}

// Exact: nullopt when some character has no form in the code page. Otherwise
// such a character becomes the code page's stand-in ('?'), never a look-alike,
// which could name another file or folder.
std::optional<std::string> Narrow(UINT codePage, std::wstring_view text, bool exact) {
    if (text.empty())
        return std::string();
    if (text.size() > INT_MAX)
        return std::nullopt;
    const bool utf8 = codePage == CP_UTF8;
    const DWORD flags = utf8 ? (exact ? WC_ERR_INVALID_CHARS : 0) : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* defaultFlag = exact && !utf8 ? &usedDefault : nullptr;
    const int size = static_cast<int>(text.size());
    const int count =
        WideCharToMultiByte(codePage, flags, text.data(), size, nullptr, 0, nullptr, defaultFlag);
    if (count <= 0 || usedDefault)
        return std::nullopt;
    std::string bytes(static_cast<std::size_t>(count), '\0');
    WideCharToMultiByte(codePage, flags, text.data(), size, bytes.data(), count, nullptr,
                        defaultFlag);
    if (usedDefault)
        return std::nullopt;
    return bytes;
}

std::wstring_view AsWide(std::u16string_view text) {
    return {reinterpret_cast<const wchar_t*>(text.data()), text.size()};
}

std::u16string AsUtf16(const std::wstring& text) {
    return {reinterpret_cast<const char16_t*>(text.data()), text.size()};
}

} // namespace

namespace win32 {

std::wstring WideFromAnsi(std::string_view text) {
    return Widen(CP_ACP, text);
}

std::optional<std::string> AnsiFromWide(std::wstring_view text) {
    return Narrow(ProcessUsesUtf8() ? CP_UTF8 : CP_ACP, text, true);
}

std::string AnsiFromWideLossy(std::wstring_view text) {
    return Narrow(CP_ACP, text, false).value_or(std::string());
}

} // namespace win32

std::u16string AnsiToUtf16(std::string_view text) {
    return AsUtf16(win32::WideFromAnsi(text));
}

std::optional<std::string> Utf16ToAnsi(std::u16string_view text) {
    return win32::AnsiFromWide(AsWide(text));
}

std::string Utf16ToAnsiLossy(std::u16string_view text) {
    return win32::AnsiFromWideLossy(AsWide(text));
}

std::size_t CharacterBoundary(std::string_view text, std::size_t at) {
    at = std::min(at, text.size());
    if (ProcessUsesUtf8()) {
        while (at > 0 && at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80)
            --at;
        return at;
    }
    // In a double-byte code page only a walk from the start tells lead bytes
    // from trail bytes.
    std::size_t boundary = 0;
    for (std::size_t i = 0; i < at;) {
        const std::size_t next = i + (IsDBCSLeadByte(static_cast<BYTE>(text[i])) ? 2 : 1);
        if (next > at)
            break;
        boundary = i = next;
    }
    return boundary;
}

std::string TextFromFile(std::string_view bytes) {
    std::wstring wide;
    if (const std::optional<std::u16string> utf16 = Utf16WithByteOrderMark(bytes)) {
        wide = AsWide(*utf16);
    } else {
        if (bytes.starts_with(kByteOrderMark))
            bytes.remove_prefix(kByteOrderMark.size());
        const UINT source = IsUtf8(bytes) ? CP_UTF8 : LegacyCodePage();
        if (source == GetACP())
            return std::string(bytes);
        wide = Widen(source, bytes);
    }
    if (std::optional<std::string> text = win32::AnsiFromWide(wide))
        return std::move(*text);
    // Named by its first line that the code page cannot hold.
    std::wstring_view rest = wide;
    for (;;) {
        const std::size_t end = rest.find(L'\n');
        const std::wstring_view line = rest.substr(0, end);
        if (!win32::AnsiFromWide(line) || end == std::wstring_view::npos)
            throw Error(
                FormatText(msg::kTextNotInCodePage, TrimControl(win32::AnsiFromWideLossy(line))));
        rest.remove_prefix(end + 1);
    }
}

std::string TextForFile(std::string_view text) {
    if (ProcessUsesUtf8())
        return std::string(text);
    return Narrow(CP_UTF8, Widen(CP_ACP, text), false).value_or(std::string());
}

} // namespace velbrook
