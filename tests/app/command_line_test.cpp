#include "app/command_line.h"

#include "support/code_page.h"

#include <gtest/gtest.h>

namespace velbrook {
namespace {

using Strings = std::vector<std::string>;

TEST(SplitCommandLine, FollowsTheSplittingRule) {
    struct Case {
        const char* line;
        Strings expected;
    };
    const Case cases[] = {
        {"velbrook.exe", {}},
        {"", {}},
        {"velbrook.exe   ", {}},
        {"velbrook.exe default", {"default"}},
        {"velbrook.exe  -load:Work\t/file:a.ini ", {"-load:Work", "/file:a.ini"}},
        {"\"C:\\Program Files\\velbrook.exe\" -?", {"-?"}},
        {"velbrook.exe -file:\"C:\\My Files\\a.ini\"", {"-file:C:\\My Files\\a.ini"}},
        {"velbrook.exe \"-file:C:\\My Files\\a.ini\"", {"-file:C:\\My Files\\a.ini"}},
        {"velbrook.exe a\"b c\"d e", {"ab cd", "e"}},
        {"velbrook.exe \"\"help", {"help"}},
        {"velbrook.exe \"\" \"\"  default", {"default"}},
        {"velbrook.exe x\"\"y", {"xy"}},
        {"velbrook.exe \"unterminated text", {"unterminated text"}},
        {"velbrook.exe a \"", {"a"}},
        {"velbrook.exe \\\\server\\share\\ \"a\\\" b", {"\\\\server\\share\\", "a\\", "b"}},
        {"velbrook.exe a\x01"
         "b\x1f"
         "c",
         {"a", "b", "c"}},
        {"velbrook.exe \xe9t\xe9", {"\xe9t\xe9"}},
        {"velbrook.exe - -", {"-", "-"}},
        {"velbrook.exe \" \"", {" "}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SplitCommandLine(c.line), c.expected) << c.line;
    // The same rules on the command line as the system keeps it: a look-alike of
    // a quote is no quote, and what the code page cannot hold is refused.
    std::string refused;
    EXPECT_EQ(SplitCommandLine(u"v.exe \"-file:C:\\a b\" \uFF02c d\uFF02 x\xD800", refused).size(),
              4u);
    EXPECT_FALSE(refused.empty());
}

TEST(BuildParamList, CleansEachArgument) {
    struct Case {
        Strings arguments;
        Strings expected;
    };
    const Case cases[] = {
        {{}, {}},
        {{"default"}, {"default"}},
        {{"-default", "/default", "\\default"}, {"default", "default", "default"}},
        {{"--load:x"}, {"-load:x"}},
        {{"-"}, {""}},
        {{""}, {}},
        {{"- help "}, {"help"}},
        {{"-\"quoted\" rest"}, {"quoted"}},
        {{"\t-x"}, {"-x"}},
        {{"a", "a"}, {"a", "a"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BuildParamList(c.arguments), c.expected);
}

TEST(Options, NamePartMatchesWithoutRegardToCase) {
    const ParamList params = {"Load:Work", "file:a:b", "DEFAULT", "", "help:x:y"};
    EXPECT_TRUE(HasOption(params, "load"));
    EXPECT_TRUE(HasOption(params, "default"));
    EXPECT_TRUE(HasOption(params, "FILE"));
    EXPECT_TRUE(HasOption(params, "Help"));
    EXPECT_FALSE(HasOption(params, "?"));
    EXPECT_FALSE(HasOption(params, "lo"));
    EXPECT_FALSE(HasOption(params, "loadx"));
    EXPECT_TRUE(HasOption(params, "")); // the empty entry

    EXPECT_EQ(GetOptionValue(params, "load"), "Work");
    EXPECT_EQ(GetOptionValue(params, "file"), "a:b");
    EXPECT_EQ(GetOptionValue(params, "default"), "");
    EXPECT_EQ(GetOptionValue(params, "help"), "x:y");
    EXPECT_EQ(GetOptionValue(params, "missing"), "");
}

TEST(Options, FirstMatchingEntryGivesTheValue) {
    const ParamList params = {"load", "load:second", "LOAD:third"};
    EXPECT_EQ(GetOptionValue(params, "load"), "");
    EXPECT_EQ(GetOptionValue(ParamList{"load:", "load:x"}, "Load"), "");
    EXPECT_EQ(GetOptionValue(ParamList{"load:first", "load:x"}, "Load"), "first");
}

TEST(ResolveFileName, RelativeNamesGoBesideTheProgram) {
    const std::string program = "C:\\Tools\\Velbrook\\velbrook.exe";
    struct Case {
        const char* fileName;
        const char* expected;
    };
    const Case cases[] = {
        {"sample.ini", "C:\\Tools\\Velbrook\\sample.ini"},
        {"sub\\a.ini", "C:\\Tools\\Velbrook\\sub\\a.ini"},
        {" sample.ini\t", "C:\\Tools\\Velbrook\\sample.ini"},
        {"\\a.ini", "C:\\Tools\\Velbrook\\\\a.ini"},
        {"My Files\\a b.ini", "C:\\Tools\\Velbrook\\My Files\\a b.ini"},
        {"C:\\a.ini", "C:\\a.ini"},
        {"C:a.ini", "C:a.ini"},
        {"\\\\server\\share\\a.ini", "\\\\server\\share\\a.ini"},
        {"sub\\\\a.ini", "sub\\\\a.ini"},
        {"  C:\\My Files\\a.ini ", "C:\\My Files\\a.ini"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ResolveFileName(c.fileName, program), c.expected) << c.fileName;
}

} // namespace
} // namespace velbrook
