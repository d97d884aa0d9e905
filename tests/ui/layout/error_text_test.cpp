#include "ui/layout/error_text.h"

#include <gtest/gtest.h>

namespace velbrook::ui::layout {
namespace {

TEST(ErrorReportText, AppendsAFullStopOnlyAfterCharactersAboveTheFullStop) {
    struct Row {
        const char* message;
        const char* expected;
    } rows[] = {
        {"", ""},
        {"Failed to set data for 'Place0'", "Failed to set data for 'Place0'"},
        {"List index out of bounds (7)", "List index out of bounds (7)"},
        {"Cannot create file C:\\x.ini", "Cannot create file C:\\x.ini."},
        {"Already a sentence.", "Already a sentence."},
        {"Why?", "Why?."},
        {"Ends in a digit 5", "Ends in a digit 5."},
        {"Ends in a slash/", "Ends in a slash/."},
        {"Ends in a comma,", "Ends in a comma,"},
        {"Ends in a dash-", "Ends in a dash-"},
        {"Ends in a bang!", "Ends in a bang!"},
        {"Trailing space ", "Trailing space "},
        {"Ends in \xE9", "Ends in \xE9."}, // above 127: compared unsigned
        {".", "."},
        {"a", "a."},
    };
    for (const Row& r : rows)
        EXPECT_EQ(ErrorReportText(r.message), r.expected) << '"' << r.message << '"';
}

} // namespace
} // namespace velbrook::ui::layout
