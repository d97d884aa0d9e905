#include "support/strings.h"

#include "support/errors.h"

#include <gtest/gtest.h>

#include <climits>

namespace velbrook {
namespace {

struct BeforeAfterCase {
    const char* text;
    const char* delimiter;
    bool emptyIfAbsent;
    const char* before;
    const char* after;
};

TEST(StrBeforeAfter, SplitAtFirstOccurrence) {
    const BeforeAfterCase cases[] = {
        {"load:a:b", ":", false, "load", "a:b"},
        {"load:a:b", ":", true, "load", "a:b"},
        {"no delimiter", ":", false, "no delimiter", "no delimiter"},
        {"no delimiter", ":", true, "", ""},
        {"empty delimiter", "", false, "empty delimiter", "empty delimiter"},
        {"empty delimiter", "", true, "", ""},
        {"", ":", false, "", ""},
        {":lead", ":", true, "", "lead"},
        {"trail:", ":", true, "trail", ""},
        {"a::b::c", "::", false, "a", "b::c"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " / " + c.delimiter);
        EXPECT_EQ(StrBefore(c.text, c.delimiter, c.emptyIfAbsent), c.before);
        EXPECT_EQ(StrAfter(c.text, c.delimiter, c.emptyIfAbsent), c.after);
    }
}

struct OneArgCase {
    const char* input;
    const char* expected;
};

TEST(Dequote, TakesTextBetweenFirstTwoQuotes) {
    const OneArgCase cases[] = {
        {"plain", "plain"},
        {"\"C:\\Program Files\\App\"", "C:\\Program Files\\App"},
        {"before \"inside\" after", "inside"},
        {"abc\"", ""},
        {"\"open", "open"},
        {"\"one\"two\"three\"", "one"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Dequote(c.input), c.expected) << c.input;
}

TEST(TrailingBackslash, AddAndRemove) {
    const OneArgCase added[] = {
        {"", ""},
        {"C:\\Data", "C:\\Data\\"},
        {"C:\\Data\\", "C:\\Data\\"},
        {"\"C:\\My Data\"", "\"C:\\My Data\\\""},
        {"\"C:\\Data\"", "C:\\Data\\"},
        {"\"C:\\My Data\\\"", "\"C:\\My Data\\\""},
    };
    for (const auto& c : added)
        EXPECT_EQ(AddTrailingBackslash(c.input), c.expected) << c.input;

    const OneArgCase removed[] = {
        {"C:\\", "C:\\"},
        {"C:\\Data\\", "C:\\Data"},
        {"C:\\Data\\\\", "C:\\Data\\"},
        {"C:\\Data", "C:\\Data"},
        {"\\", ""},
        {"", ""},
        {"ab\\", "ab"},
    };
    for (const auto& c : removed)
        EXPECT_EQ(RemoveTrailingBackslash(c.input), c.expected) << c.input;
}

TEST(QuoteIfNeeded, QuotesOnlyWhenNeeded) {
    EXPECT_EQ(QuoteIfNeeded("", true), "");
    EXPECT_EQ(QuoteIfNeeded("plain", false), "plain");
    EXPECT_EQ(QuoteIfNeeded("plain", true), "\"plain\"");
    EXPECT_EQ(QuoteIfNeeded("with blank", false), "\"with blank\"");
    EXPECT_EQ(QuoteIfNeeded("\"with blank\"", false), "\"with blank\"");
    EXPECT_EQ(QuoteIfNeeded("\"", true), "\"");
    EXPECT_EQ(QuoteIfNeeded("\"half open", false), "\"\"half open\"");
}

struct PathCase {
    const char* path;
    PathPartKind kind;
    const char* expected;
};

TEST(ExtractPathPart, EveryKind) {
    const char* full = "C:\\Data\\Sub\\report.final.txt";
    const PathCase cases[] = {
        {full, ppDrive, "C:"},
        {full, ppDriveLetter, "C"},
        {full, ppDriveRoot, "C:\\"},
        {full, ppFolder, "C:\\Data\\Sub\\"},
        {full, ppFolderNoSlash, "C:\\Data\\Sub"},
        {full, ppFileName, "report.final.txt"},
        {full, ppBaseName, "report.final"},
        {full, ppExt, "txt"},
        {full, ppDotExt, ".txt"},
        {full, ppAsIs, full},
        {full, ppFolderNoDrive, "Data\\Sub"},
        {full, static_cast<PathPartKind>(11), full},
        {full, static_cast<PathPartKind>(255), full},
        {"C", ppDrive, "C"},
        {"", ppDriveLetter, ""},
        {"C", ppDriveRoot, "C"},
        {"file.txt", ppFolder, ""},
        {"file.txt", ppFolderNoSlash, ""},
        {"file.txt", ppFileName, "file.txt"},
        {"C:file.txt", ppFolder, "C:\\"},
        {"C:file.txt", ppFileName, "file.txt"},
        {"C:\\Dir.d\\.profile", ppBaseName, ""},
        {"C:\\Dir.d\\.profile", ppExt, "profile"},
        {"C:\\Dir.d\\name.", ppBaseName, "name."},
        {"C:\\Dir.d\\name.", ppExt, ""},
        {"C:\\Dir.d\\name.", ppDotExt, ""},
        {"C:\\Dir.d\\noext", ppBaseName, "noext"},
        {"C:\\Dir.d\\noext", ppExt, ""},
        {"C:\\Dir.d\\noext", ppDotExt, ""},
        {"\\\\server\\share\\dir\\file.txt", ppFolderNoDrive, "server\\share\\dir"},
        {"C:\\file.txt", ppFolderNoDrive, ""},
        {"C:\\file.txt", ppFolderNoSlash, "C:\\"},
        {"Data\\file.txt", ppFolderNoDrive, ""},
        {"file.txt", ppFolderNoDrive, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ExtractPathPart(c.path, c.kind), c.expected)
            << c.path << " kind " << static_cast<int>(c.kind);
    }
}

TEST(StrCountAndLastPos, OverlapsAndEmptyPatterns) {
    EXPECT_EQ(StrCount("aaa", "aa"), 2);
    EXPECT_EQ(StrCount("abcabc", "bc"), 2);
    EXPECT_EQ(StrCount("abc", ""), 3);
    EXPECT_EQ(StrCount("", "a"), 0);
    EXPECT_EQ(StrCount("ab", "abc"), 0);

    EXPECT_EQ(StrLastPos("abcabc", "bc"), 5);
    EXPECT_EQ(StrLastPos("abcabc", "a"), 4);
    EXPECT_EQ(StrLastPos("abcabc", "abcabc"), 1);
    EXPECT_EQ(StrLastPos("abcabc", "x"), 0);
    EXPECT_EQ(StrLastPos("abcabc", ""), 0);
    EXPECT_EQ(StrLastPos("", "a"), 0);
    EXPECT_EQ(StrLastPos("aaa", "aa"), 2);
}

TEST(StrReplaceAll, ExactAndIgnoringCase) {
    EXPECT_EQ(StrReplaceAll("&Open && &Save", "&", "", false), "Open  Save");
    EXPECT_EQ(StrReplaceAll("aaa", "aa", "b", false), "ba");
    EXPECT_EQ(StrReplaceAll("One one ONE", "one", "1", false), "One 1 ONE");
    EXPECT_EQ(StrReplaceAll("One one ONE", "one", "1", true), "1 1 1");
    EXPECT_EQ(StrReplaceAll("abc", "", "x", false), "abc");
    EXPECT_EQ(StrReplaceAll("", "a", "x", false), "");
    EXPECT_EQ(StrReplaceAll("a%sa", "a", "%s", false), "%s%s%s");
}

struct LeftRightCase {
    const char* text;
    std::int32_t count;
    const char* left;
    const char* right;
};

TEST(StrLeftRight, CountsAreClamped) {
    const LeftRightCase cases[] = {
        {"abcdef", 2, "ab", "ef"},
        {"abcdef", 6, "abcdef", "abcdef"},
        {"abcdef", 99, "abcdef", "abcdef"},
        {"abcdef", 0, "", ""},
        {"abcdef", -3, "", ""},
        {"", 2, "", ""},
        {"abc", INT_MAX, "abc", "abc"},
        {"abc", INT_MIN, "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StrLeft(c.text, c.count), c.left) << c.text << " " << c.count;
        EXPECT_EQ(StrRight(c.text, c.count), c.right) << c.text << " " << c.count;
    }
}

TEST(SmallHelpers, ReverseSwapMaxMin) {
    EXPECT_EQ(StrReverse("abc"), "cba");
    EXPECT_EQ(StrReverse(""), "");

    std::int32_t a = -5, b = 7;
    SwapInts(a, b);
    EXPECT_EQ(a, 7);
    EXPECT_EQ(b, -5);

    EXPECT_EQ(IntMax(-1, 1), 1);
    EXPECT_EQ(IntMax(1, -1), 1);
    EXPECT_EQ(IntMin(-1, 1), -1);
    EXPECT_EQ(IntMin(INT_MIN, INT_MAX), INT_MIN);
}

TEST(TrimControl, RemovesCodesUpTo32) {
    EXPECT_EQ(TrimControl(std::string("\t\x01 a b \r\n\0", 10)), "a b");
    EXPECT_EQ(TrimControl("   "), "");
    EXPECT_EQ(TrimControl("x"), "x");
    EXPECT_EQ(TrimControl("\xA0x\xA0"), "\xA0x\xA0");
}

TEST(FormatText, ReplacesOnlyTheFirstPlaceholder) {
    EXPECT_EQ(FormatText("File \"%s\" not found", "a%sb%d"), "File \"a%sb%d\" not found");
    EXPECT_EQ(FormatText("%s and %s", "x"), "x and %s");
    EXPECT_EQ(FormatText("no placeholder", "x"), "no placeholder");
    EXPECT_EQ(FormatText("%s", ""), "");
    EXPECT_EQ(FormatText("List index out of bounds (%d)", -1), "List index out of bounds (-1)");
    EXPECT_EQ(FormatText("%d%d", 42LL), "42%d");
}

} // namespace
} // namespace velbrook
