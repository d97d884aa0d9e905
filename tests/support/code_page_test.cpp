#include "support/code_page.h"

#include <gtest/gtest.h>

#include "support/utf8.h"

namespace velbrook {
namespace {

TEST(Utf8, TellsWellFormedTextFromOtherBytes) {
    struct Case {
        const char* what;
        std::string bytes;
        bool utf8;
    };
    const Case cases[] = {
        {"empty", "", true},
        {"ASCII", "C:\\Work", true},
        {"two, three and four bytes", "\xC3\xA9 \xE6\x97\xA5 \xF0\x9F\x98\x80", true},
        {"Windows-1252 letter",
         "Ren\xE9"
         "e",
         false},
        {"overlong slash", "\xC0\xAF", false},
        {"surrogate", "\xED\xA0\x80", false},
        {"cut short", "\xE6\x97", false},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", false},
        {"stray continuation", "\x80", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsUtf8(c.bytes), c.utf8) << c.what;
}

TEST(Utf8, ConvertsToUtf16AndBack) {
    const std::string text = "C:\\\xD0\x94\xD0\xBC \xE6\x97\xA5 \xF0\x9F\x98\x80";
    const std::u16string wide = Utf8ToUtf16(text);
    EXPECT_EQ(wide, u"C:\\\u0414\u043c \u65e5 \U0001F600");
    EXPECT_EQ(Utf16ToUtf8(wide), text);
    EXPECT_EQ(Utf16ToUtf8(u"a\xD800"
                          "b"),
              std::nullopt);
    EXPECT_EQ(Utf8ToUtf16("a\xE9"
                          "b"),
              u"a\uFFFD"
              "b");
}

TEST(CharacterBoundary, NeverSplitsACharacter) {
    // A legacy code page may have no form for the last letter.
    const std::optional<std::string> all = Utf16ToAnsi(u"a\u00e9\u65e5b");
    const std::string ansi = all ? *all : Utf16ToAnsi(u"a\u00e9b").value_or("ab");
    for (std::size_t at = 0; at <= ansi.size() + 1; ++at) {
        const std::u16string cut = AnsiToUtf16(ansi.substr(0, CharacterBoundary(ansi, at)));
        EXPECT_EQ(cut.find(u'\uFFFD'), std::u16string::npos) << at;
        EXPECT_LE(CharacterBoundary(ansi, at), at);
    }
    EXPECT_EQ(CharacterBoundary(ansi, ansi.size()), ansi.size());
}

// The bytes a file ends up with after a read and a write of its text: whatever
// the code page of the process, text comes back as UTF-8, plain ASCII as it was.
TEST(TextFiles, ReadEitherEncodingAndWriteUtf8) {
    struct Case {
        const char* what;
        std::string read;
        std::string written;
    };
    const Case cases[] = {
        {"empty", "", ""},
        {"ASCII", "[Places]\r\nPlace0=C:\\A\r\n", "[Places]\r\nPlace0=C:\\A\r\n"},
        {"byte-order mark", "\xEF\xBB\xBF[Places]", "[Places]"},
        {"only a byte-order mark", "\xEF\xBB\xBF", ""},
        {"UTF-8",
         "C:\\Ren\xC3\xA9"
         "e",
         "C:\\Ren\xC3\xA9"
         "e"},
        {"legacy code page",
         "C:\\Ren\xE9"
         "e",
         "C:\\Ren\xC3\xA9"
         "e"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TextForFile(TextFromFile(c.read)), c.written) << c.what;
}

} // namespace
} // namespace velbrook
