#pragma once
// Pure helpers on ANSI text and backslash paths. Positions count from 1; 0 means
// not found. None of them raises.
#include <cstdint>
#include <string>
#include <string_view>

namespace velbrook {

enum PathPartKind : std::uint8_t {
    ppDrive = 0,
    ppDriveLetter = 1,
    ppDriveRoot = 2,
    ppFolder = 3,
    ppFolderNoSlash = 4,
    ppFileName = 5,
    ppBaseName = 6,
    ppExt = 7,
    ppDotExt = 8,
    ppAsIs = 9,
    ppFolderNoDrive = 10,
};

std::string StrBefore(std::string_view s, std::string_view delimiter, bool emptyIfAbsent);
std::string StrAfter(std::string_view s, std::string_view delimiter, bool emptyIfAbsent);
std::string Dequote(std::string_view s);
std::string ExtractPathPart(std::string_view path, PathPartKind kind);
std::string AddTrailingBackslash(std::string_view path);
std::string RemoveTrailingBackslash(std::string_view path);
std::string QuoteIfNeeded(std::string_view s, bool force);
std::int32_t StrCount(std::string_view s, std::string_view pattern);
std::int32_t StrLastPos(std::string_view s, std::string_view pattern);
std::string StrReplaceAll(std::string_view s, std::string_view oldPattern,
                          std::string_view newPattern, bool ignoreCase);
std::string StrLeft(std::string_view s, std::int32_t count);
std::string StrRight(std::string_view s, std::int32_t count);
std::string StrReverse(std::string_view s);
void SwapInts(std::int32_t& a, std::int32_t& b);
std::int32_t IntMax(std::int32_t a, std::int32_t b);
std::int32_t IntMin(std::int32_t a, std::int32_t b);

// Removes leading and trailing characters with codes 0 to 32.
std::string TrimControl(std::string_view s);

// The text with its control characters made visible: [CR], [LF], [TAB], and
// [n] for the others (n: the code), so that it stays on one line.
std::string VisibleControls(std::string_view text);
// The text inside one pair of double quotes that encloses all of it, as INI
// readers take a quoted value; any other text as it is.
std::string WithoutEnclosingQuotes(std::string_view text);

// A message on one line: each run of line breaks becomes a blank after a colon
// or the end of a sentence and "; " elsewhere, so that listed names stay apart.
std::string OneLine(std::string_view text);
// Text whose lines are joined by a carriage return alone (as the message box
// takes them) with the line ends of a console or text file: CR LF after every
// line, the last one included.
std::string ConsoleLines(std::string_view text);

} // namespace velbrook
