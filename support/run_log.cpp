#include "support/run_log.h"

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

// Writes the number's last `width` decimal digits, ending before `end`.
void PutDigits(char* end, int number, int width) {
    for (; width > 0; --width, number /= 10)
        *--end = static_cast<char>('0' + number % 10);
}

} // namespace

std::string Iso8601(const LocalTime& time) {
    char text[] = "0000-00-00T00:00:00+00:00";
    const int offset = std::abs(time.offsetMinutes);
    PutDigits(text + 4, time.year, 4);
    PutDigits(text + 7, time.month, 2);
    PutDigits(text + 10, time.day, 2);
    PutDigits(text + 13, time.hour, 2);
    PutDigits(text + 16, time.minute, 2);
    PutDigits(text + 19, time.second, 2);
    text[19] = time.offsetMinutes < 0 ? '-' : '+';
    PutDigits(text + 22, offset / 60, 2);
    PutDigits(text + 25, offset % 60, 2);
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
