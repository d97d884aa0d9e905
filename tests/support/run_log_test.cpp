// The texts of runs without a window: one-line messages, console lines and
// log lines.
#include "support/run_log.h"

#include <gtest/gtest.h>

#include "support/errors.h"
#include "support/strings.h"

namespace velbrook {
namespace {

TEST(RunTexts, MessagesBecomeOneLineAndTheSyntaxGetsConsoleLineEnds) {
    const std::pair<std::string, std::string> cases[] = {
        {"Left out, with no folder path:\n\nMy Computer\nNetwork",
         "Left out, with no folder path: My Computer; Network"},
        {"First sentence.\r\nSecond?\r\nThird\r\n", "First sentence. Second? Third"},
        {"\n\nleading breaks", "leading breaks"},
    };
    for (const auto& [text, line] : cases)
        EXPECT_EQ(OneLine(text), line) << text;
    EXPECT_EQ(ConsoleLines("A\r\rB"), "A\r\n\r\nB\r\n");
    // The second placeholder is looked for after the first, not in its argument.
    EXPECT_EQ(FormatText("\"%s\": %s.", "100%s", "why"), "\"100%s\": why.");
}

TEST(RunTexts, LogLinesHoldSixTabSeparatedFieldsOnOneLine) {
    EXPECT_EQ(Iso8601({2025, 3, 4, 9, 5, 2, 60}), "2025-03-04T09:05:02+01:00");
    EXPECT_EQ(Iso8601({1999, 12, 31, 23, 59, 59, -570}), "1999-12-31T23:59:59-09:30");
    const RunLogEntry entry{
        "2025-03-04T09:05:02+01:00",        "PC-042", "alice", "-file", "tab\there",
        "Left out:\n\nMy Computer\nNetwork"};
    EXPECT_EQ(RunLogLine(entry), "2025-03-04T09:05:02+01:00\tPC-042\talice\t-file\ttab here\t"
                                 "Left out: My Computer; Network\r\n");
}

} // namespace
} // namespace velbrook
