#include "support/run_log.h"

#include <cstdio>
#include <cstdlib>

#include "support/code_page.h"
#include "support/strings.h"

namespace velbrook {

namespace {

std::string Field(std::string_view text) {
    std::string field = OneLine(text);
    for (char& c : field) {
        if (static_cast<unsigned char>(c) < ' ')
            c = ' ';
    }
    return field;
}

} // namespace

std::string Iso8601(const LocalTime& time) {
    const int offset = std::abs(time.offsetMinutes);
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02d:%02d", time.year,
                  time.month, time.day, time.hour, time.minute, time.second,
                  time.offsetMinutes < 0 ? '-' : '+', offset / 60, offset % 60);
    return text;
}

std::string RunLogLine(const RunLogEntry& entry) {
    std::string line;
    for (const std::string* field : {&entry.time, &entry.computer, &entry.user, &entry.action,
                                     &entry.argument, &entry.outcome}) {
        if (!line.empty())
            line += '\t';
        line += Field(*field);
    }
    return TextForFile(line) + "\r\n";
}

} // namespace velbrook
