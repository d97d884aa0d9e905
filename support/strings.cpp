#include "support/strings.h"

#include <algorithm>
#include <limits>

#include "support/locale_text.h"

namespace velbrook {

namespace {

constexpr std::size_t kNotFound = std::string_view::npos;

std::int32_t ToInt32(std::size_t n) {
    return static_cast<std::int32_t>(std::min<std::size_t>(
        n, static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())));
}

// Substring by 1-based start and count, clamped to the text; never fails.
std::string Copy(std::string_view s, std::int64_t start, std::int64_t count) {
    if (start < 1)
        start = 1;
    const auto size = static_cast<std::int64_t>(s.size());
    if (start > size || count <= 0)
        return {};
    count = std::min(count, size - start + 1);
    return std::string(
        s.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(count)));
}

std::size_t FindFirst(std::string_view s, std::string_view pattern) {
    if (s.empty() || pattern.empty())
        return kNotFound;
    return s.find(pattern);
}

// Index of the last character of s found in chars, skipping the second bytes
// of double-byte characters.
std::size_t FindLastOf(std::string_view s, std::string_view chars) {
    std::size_t found = kNotFound;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (IsLeadByte(s[i])) {
            ++i;
            continue;
        }
        if (chars.find(s[i]) != kNotFound)
            found = i;
    }
    return found;
}

bool EndsWithBackslash(std::string_view s) {
    return !s.empty() && FindLastOf(s, "\\") == s.size() - 1;
}

std::string_view FolderPart(std::string_view path) {
    const std::size_t sep = FindLastOf(path, "\\:");
    return sep == kNotFound ? std::string_view{} : path.substr(0, sep + 1);
}

std::string_view FileNamePart(std::string_view path) {
    const std::size_t sep = FindLastOf(path, "\\:");
    return sep == kNotFound ? path : path.substr(sep + 1);
}

// Position of the dot that starts the extension of a file name; npos when the
// name has no dot or ends in one.
std::size_t ExtensionDot(std::string_view fileName) {
    const std::size_t dot = FindLastOf(fileName, ".");
    return dot == kNotFound || dot + 1 == fileName.size() ? kNotFound : dot;
}

std::string FolderNoDrive(std::string_view path) {
    std::string folder = RemoveTrailingBackslash(FolderPart(path));
    if (folder.empty())
        return folder;
    if (folder[0] == '\\')
        return Copy(folder, 3, std::numeric_limits<std::int64_t>::max());
    return StrAfter(folder, ":\\", true);
}

} // namespace

std::string StrBefore(std::string_view s, std::string_view delimiter, bool emptyIfAbsent) {
    const std::size_t pos = FindFirst(s, delimiter);
    if (pos == kNotFound)
        return emptyIfAbsent ? std::string() : std::string(s);
    return std::string(s.substr(0, pos));
}

std::string StrAfter(std::string_view s, std::string_view delimiter, bool emptyIfAbsent) {
    const std::size_t pos = FindFirst(s, delimiter);
    if (pos == kNotFound)
        return emptyIfAbsent ? std::string() : std::string(s);
    return std::string(s.substr(pos + delimiter.size()));
}

std::string Dequote(std::string_view s) {
    return StrBefore(StrAfter(s, "\"", false), "\"", false);
}

std::string AddTrailingBackslash(std::string_view path) {
    if (path.empty() || EndsWithBackslash(path))
        return std::string(path);
    if (path.front() == '"') {
        // The unquoted text may already end in a backslash: "C:\Data\".
        return QuoteIfNeeded(AddTrailingBackslash(Dequote(path)), false);
    }
    return std::string(path) + '\\';
}

std::string RemoveTrailingBackslash(std::string_view path) {
    if (path.size() == 3 && path[1] == ':')
        return std::string(path);
    if (EndsWithBackslash(path))
        return std::string(path.substr(0, path.size() - 1));
    return std::string(path);
}

std::string QuoteIfNeeded(std::string_view s, bool force) {
    if (s.empty())
        return {};
    const bool needsQuotes = force || s.find(' ') != kNotFound;
    const bool enclosed = s.front() == '"' && s.back() == '"';
    if (!needsQuotes || enclosed)
        return std::string(s);
    return '"' + std::string(s) + '"';
}

std::string ExtractPathPart(std::string_view path, PathPartKind kind) {
    switch (kind) {
    case ppDrive:
        return path.size() > 1 ? std::string(path.substr(0, 2)) : std::string(path);
    case ppDriveLetter:
        return std::string(path.substr(0, 1));
    case ppDriveRoot:
        return path.size() > 1 ? std::string(path.substr(0, 2)) + '\\' : std::string(path);
    case ppFolder:
        return AddTrailingBackslash(FolderPart(path));
    case ppFolderNoSlash:
        return RemoveTrailingBackslash(FolderPart(path));
    case ppFileName:
        return std::string(FileNamePart(path));
    case ppBaseName: {
        const std::string_view name = FileNamePart(path);
        return std::string(name.substr(0, ExtensionDot(name)));
    }
    case ppExt:
    case ppDotExt: {
        const std::string_view name = FileNamePart(path);
        const std::size_t dot = ExtensionDot(name);
        if (dot == kNotFound)
            return {};
        return std::string(name.substr(kind == ppExt ? dot + 1 : dot));
    }
    case ppFolderNoDrive:
        return FolderNoDrive(path);
    case ppAsIs:
    default:
        return std::string(path);
    }
}

std::int32_t StrCount(std::string_view s, std::string_view pattern) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s.substr(i, pattern.size()) == pattern)
            ++count;
    }
    return ToInt32(count);
}

std::int32_t StrLastPos(std::string_view s, std::string_view pattern) {
    if (s.empty() || pattern.empty())
        return 0;
    const std::size_t pos = s.rfind(pattern);
    return pos == kNotFound ? 0 : ToInt32(pos + 1);
}

std::string StrReplaceAll(std::string_view s, std::string_view oldPattern,
                          std::string_view newPattern, bool ignoreCase) {
    if (s.empty() || oldPattern.empty())
        return std::string(s);
    // Upper-casing keeps byte positions, so matches found in the copies map
    // straight back to the original text.
    const std::string upperText = ignoreCase ? UpperCaseText(s) : std::string();
    const std::string upperOld = ignoreCase ? UpperCaseText(oldPattern) : std::string();
    const std::string_view haystack = ignoreCase ? std::string_view(upperText) : s;
    const std::string_view needle = ignoreCase ? std::string_view(upperOld) : oldPattern;

    std::string result;
    std::size_t from = 0;
    for (std::size_t pos = haystack.find(needle); pos != kNotFound;
         pos = haystack.find(needle, from)) {
        result.append(s.substr(from, pos - from));
        result.append(newPattern);
        from = pos + needle.size();
    }
    result.append(s.substr(from));
    return result;
}

std::string StrLeft(std::string_view s, std::int32_t count) {
    return Copy(s, 1, count);
}

std::string StrRight(std::string_view s, std::int32_t count) {
    return Copy(s, static_cast<std::int64_t>(s.size()) - count + 1, count);
}

std::string StrReverse(std::string_view s) {
    return std::string(s.rbegin(), s.rend());
}

void SwapInts(std::int32_t& a, std::int32_t& b) {
    std::swap(a, b);
}

std::int32_t IntMax(std::int32_t a, std::int32_t b) {
    return b < a ? a : b;
}

std::int32_t IntMin(std::int32_t a, std::int32_t b) {
    return b > a ? a : b;
}

std::string TrimControl(std::string_view s) {
    const auto isControl = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    std::size_t first = 0;
    std::size_t last = s.size();
    while (first < last && isControl(s[first]))
        ++first;
    while (last > first && isControl(s[last - 1]))
        --last;
    return std::string(s.substr(first, last - first));
}

std::string VisibleControls(std::string_view text) {
    std::string shown;
    for (const char c : text) {
        const auto code = static_cast<unsigned char>(c);
        if (c == '\r')
            shown += "[CR]";
        else if (c == '\n')
            shown += "[LF]";
        else if (c == '\t')
            shown += "[TAB]";
        else if (code < 0x20 || code == 0x7F)
            shown += "[" + std::to_string(code) + "]";
        else
            shown += c;
    }
    return shown;
}

std::string WithoutEnclosingQuotes(std::string_view text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"' &&
        text.substr(1, text.size() - 2).find('"') == std::string_view::npos)
        return std::string(text.substr(1, text.size() - 2));
    return std::string(text);
}

std::string OneLine(std::string_view text) {
    const auto isBreak = [](char c) { return c == '\r' || c == '\n'; };
    std::string line;
    for (std::size_t i = 0; i < text.size();) {
        if (!isBreak(text[i])) {
            line += text[i++];
            continue;
        }
        while (i < text.size() && isBreak(text[i]))
            ++i;
        line = TrimControl(line);
        if (line.empty() || i == text.size())
            continue;
        const bool sentenceEnd =
            std::string_view(":.?!").find(line.back()) != std::string_view::npos;
        line += sentenceEnd ? " " : "; ";
    }
    return TrimControl(line);
}

std::string ConsoleLines(std::string_view text) {
    std::string lines;
    for (const char c : text) {
        if (c == '\r')
            lines += "\r\n";
        else
            lines += c;
    }
    return lines + "\r\n";
}

} // namespace velbrook
