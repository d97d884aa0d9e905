// The texts of runs without a window (one-line messages, console lines, log
// lines) and appending to a log file.
#include "support/run_log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "support/console_dialogs.h"
#include "support/errors.h"
#include "support/files.h"
#include "support/strings.h"
#include "testlib/temporary_folder.h"

namespace velbrook {
namespace {

namespace fs = std::filesystem;

TEST(RunTexts, MessagesBecomeOneLineAndTheSyntaxGetsConsoleLineEnds) {
    struct Case {
        std::string text, oneLine;
    };
    const Case cases[] = {
        {"Scheme \"Work\" not found", "Scheme \"Work\" not found"},
        {"The places file was saved without these places, which have no folder path:\n\n"
         "My Computer\nNetwork",
         "The places file was saved without these places, which have no folder path: "
         "My Computer; Network"},
        {"First sentence.\r\nSecond\r\n", "First sentence. Second"},
        {"\n\nleading breaks", "leading breaks"},
        {"a\rb", "a; b"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(OneLine(c.text), c.oneLine) << c.text;

    EXPECT_EQ(ConsoleLines("A\r\rB"), "A\r\n\r\nB\r\n");
    EXPECT_EQ(ConsoleLines(""), "\r\n");
    // The second placeholder is looked for after the first, not in its argument.
    EXPECT_EQ(FormatText("\"%s\": %s.", "100%s", "why"), "\"100%s\": why.");
}

TEST(RunTexts, LogLinesHoldSixTabSeparatedFieldsOnOneLine) {
    EXPECT_EQ(Iso8601({2025, 3, 4, 9, 5, 2, 60}), "2025-03-04T09:05:02+01:00");
    EXPECT_EQ(Iso8601({1999, 12, 31, 23, 59, 59, -570}), "1999-12-31T23:59:59-09:30");
    EXPECT_EQ(Iso8601({2024, 1, 1, 0, 0, 0, 0}), "2024-01-01T00:00:00+00:00");

    RunLogEntry entry{"2025-03-04T09:05:02+01:00", "PC-042", "alice", "-file",
                      "C:\\Places\\a.ini",         "done"};
    EXPECT_EQ(RunLogLine(entry),
              "2025-03-04T09:05:02+01:00\tPC-042\talice\t-file\tC:\\Places\\a.ini\tdone\r\n");
    entry.argument = "tab\there";
    entry.outcome = "Left out:\n\nMy Computer\nNetwork";
    EXPECT_EQ(RunLogLine(entry), "2025-03-04T09:05:02+01:00\tPC-042\talice\t-file\ttab here\t"
                                 "Left out: My Computer; Network\r\n");

    const RunLogEntry now = NewRunLogEntry();
    EXPECT_TRUE(
        std::regex_match(now.time, std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d[+-]\d\d:\d\d)")))
        << now.time;
    EXPECT_FALSE(now.computer.empty());
}

TEST(RunTexts, ConsoleDialogsWriteEachMessageAsALineAndAnswerNo) {
    struct Case {
        unsigned flags;
        int answer;
    };
    const Case cases[] = {{kMbOk | kMbIconExclamation, kIdOk},
                          {kMbYesNo | kMbIconExclamation, kIdNo},
                          {kMbOkCancel | kMbIconExclamation, kIdCancel}};
    for (const Case& c : cases) {
        std::string written;
        ConsoleDialogs dialogs([&](std::string_view text) { written += text; });
        EXPECT_EQ(dialogs.MessageBox("Question?\n\nReally", "Confirmation", c.flags, 0), c.answer);
        EXPECT_EQ(written, "Question? Really\r\n");
        std::string name = "preset";
        EXPECT_FALSE(dialogs.AskPlacesFileName(name));
        EXPECT_FALSE(dialogs.InputQuery("Caption", "Prompt", name));
        EXPECT_TRUE(dialogs.BrowseForFolder("Title", "C:\\").path.empty());
    }
}

class AppendTest : public testing::TemporaryFolderTest {
  protected:
    AppendTest() : TemporaryFolderTest("velbrook-append-") {}

    std::string Content(const std::string& name) {
        std::ifstream in(PathOf(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
};

TEST_F(AppendTest, AppendsWholeLinesAndCreatesTheFile) {
    std::string reason = "stale";
    ASSERT_TRUE(AppendToFile(PathOf("run.log"), "first\r\n", reason)) << reason;
    ASSERT_TRUE(AppendToFile(PathOf("run.log"), "second\r\n", reason)) << reason;
    EXPECT_EQ(Content("run.log"), "first\r\nsecond\r\n");
}

TEST_F(AppendTest, AFileThatCannotBeWrittenIsRefusedWithItsReason) {
    fs::create_directory(PathOf("folder"));
    ASSERT_TRUE(ReplaceFileContent(PathOf("read-only.log"), "old\r\n"));
    fs::permissions(PathOf("read-only.log"),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    struct Case {
        std::string name;
        std::string reason;
    };
    const Case cases[] = {
        {PathOf("folder"), "it is a folder"},
        {PathOf("no such folder") + "/run.log", "its folder does not exist"},
        {PathOf("read-only.log"), "it is read-only"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WriteRefusal(c.name), c.reason) << c.name;
        std::string reason;
        EXPECT_FALSE(AppendToFile(c.name, "line\r\n", reason)) << c.name;
        EXPECT_EQ(reason, c.reason) << c.name;
    }
    EXPECT_EQ(Content("read-only.log"), "old\r\n");
    EXPECT_FALSE(fs::exists(PathOf("no such folder")));
    EXPECT_EQ(WriteRefusal(PathOf("new.log")), "");
}

} // namespace
} // namespace velbrook
