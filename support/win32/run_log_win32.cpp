#include "support/run_log.h"

#include "support/win32/windows_ansi.h"

namespace velbrook {

namespace {

std::int64_t Ticks(const FILETIME& time) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) |
                                     time.dwLowDateTime);
}

LocalTime Now() {
    FILETIME utc{};
    GetSystemTimeAsFileTime(&utc);
    FILETIME localFile = utc;
    FileTimeToLocalFileTime(&utc, &localFile);
    SYSTEMTIME local{};
    FileTimeToSystemTime(&localFile, &local);
    constexpr std::int64_t kTicksPerMinute = 60LL * 10000000LL;
    const auto offset = static_cast<int>((Ticks(localFile) - Ticks(utc)) / kTicksPerMinute);
    return {local.wYear,   local.wMonth,  local.wDay, local.wHour,
            local.wMinute, local.wSecond, offset};
}

} // namespace

RunLogEntry NewRunLogEntry() {
    RunLogEntry entry;
    entry.time = Iso8601(Now());
    char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof name;
    if (GetComputerNameA(name, &size))
        entry.computer.assign(name, size);
    char user[257] = {};
    size = sizeof user;
    if (GetUserNameA(user, &size))
        entry.user = user;
    return entry;
}

} // namespace velbrook
