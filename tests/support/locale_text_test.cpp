#include "support/locale_text.h"

#include <gtest/gtest.h>

namespace velbrook {
namespace {

int Sign(int value) {
    return (value > 0) - (value < 0);
}

struct CompareCase {
    const char* a;
    const char* b;
    int sign;
};

TEST(CompareTextIgnoreCase, IgnoresCaseAndOrdersLetters) {
    const CompareCase cases[] = {
        {"Places", "PLACES", 0},
        {"places", "Places", 0},
        {"", "", 0},
        {"apple", "Banana", -1},
        {"Banana", "apple", 1},
        {"abc", "ABD", -1},
        {"abc", "ab", 1},
        {"ab", "ABC", -1},
        {"", "a", -1},
        {"Scheme 2", "scheme 10", 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Sign(CompareTextIgnoreCase(c.a, c.b)), c.sign) << c.a << " / " << c.b;
        EXPECT_EQ(SameTextIgnoreCase(c.a, c.b), c.sign == 0) << c.a << " / " << c.b;
    }
}

TEST(UpperCaseText, AsciiLettersOnlyChangeCase) {
    EXPECT_EQ(UpperCaseText("Place0 = c:\\data"), "PLACE0 = C:\\DATA");
    EXPECT_EQ(UpperCaseText(""), "");
    EXPECT_EQ(UpperCaseText("123 _-[]"), "123 _-[]");
}

TEST(IsLeadByte, AsciiIsNeverALeadByte) {
    for (char c : std::string("\\:.aZ0 "))
        EXPECT_FALSE(IsLeadByte(c)) << c;
}

#ifndef _WIN32
// The portable fallback folds the letters of Windows-1252.
TEST(LocaleTextNative, FoldsWindows1252Letters) {
    EXPECT_EQ(UpperCaseText("\xE0\xE9\xFE\xF7\xFF\x9A\x9C\x9E"),
              "\xC0\xC9\xDE\xF7\x9F\x8A\x8C\x8E");
    EXPECT_EQ(UpperCaseText("\xDF\xB5"), "\xDF\xB5");
    EXPECT_TRUE(SameTextIgnoreCase("caf\xE9", "CAF\xC9"));
    EXPECT_FALSE(SameTextIgnoreCase("\xF7", "\xD7"));
    // Ordered by the upper-cased bytes, as unsigned.
    EXPECT_LT(CompareTextIgnoreCase("z", "\xE0"), 0);
    EXPECT_GT(CompareTextIgnoreCase("\xC0", "Z"), 0);
    for (int c = 0; c < 256; ++c)
        EXPECT_FALSE(IsLeadByte(static_cast<char>(c)));
}
#endif

} // namespace
} // namespace velbrook
