#include "support/run_log.h"

#include "support/win32/windows_ansi.h"

namespace velbrook {

namespace {

std::int64_t Ticks(const SYSTEMTIME& time) {
    FILETIME file{};
    SystemTimeToFileTime(&time, &file);
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(file.dwHighDateTime) << 32) |
                                     file.dwLowDateTime);
}

LocalTime Now() {
    SYSTEMTIME utc{};
    GetSystemTime(&utc);
    SYSTEMTIME local = utc;
    SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local);
    constexpr std::int64_t kTicksPerMinute = 60LL * 10000000LL;
    const auto offset = static_cast<int>((Ticks(local) - Ticks(utc)) / kTicksPerMinute);
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
