#pragma once
// The log of runs without a window: one line per run, appended to a file that
// many machines may share.
#include <string>

namespace velbrook {

struct LocalTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    // Local time minus UTC.
    int offsetMinutes = 0;
};

// "2025-03-04T09:15:02+01:00".
std::string Iso8601(const LocalTime& time);

struct RunLogEntry {
    std::string time; // ISO 8601, local time with its offset from UTC
    std::string computer;
    std::string user;
    std::string action;
    std::string argument;
    std::string outcome; // "done", or the message of the run
};

// The time, computer and user of this run; the rest empty.
RunLogEntry NewRunLogEntry();

// The bytes of the entry's line: its fields in order, separated by tabs, as
// UTF-8 and ended by CR LF. Line breaks of a message are joined as OneLine
// joins them; other control characters become blanks.
std::string RunLogLine(const RunLogEntry& entry);

} // namespace velbrook
